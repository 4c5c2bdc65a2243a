#include "PackageTestSupport.h"

#include "package/CryptManager.h"
#include "package/KeyBlobs.h"
#include "platform/Exception.h"
#include "tests/support/HangGuard.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace stellik::testing {
namespace {

TMemoryStream PasswordStream(std::string_view password = Password) {
    return StreamOf(password);
}

TMemoryStream PrivateBlobStream() {
    return StreamOf(SharedKeys().PrivateKeyBlob.Span());
}

// A manager whose fresh container holds the shared pair.
TCryptManager ManagerWithPair() {
    TCryptManager manager;
    manager.KeyStoreName = FreshContainerName();
    manager.ImportKeyWithPassword(PrivateBlobStream(), PasswordStream());
    return manager;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 0777;
}

TEST(CryptManager, EveryOperationNeedsAContainerName) {
    TCryptManager manager;
    const auto entriesBefore = KeyFolderEntries();
    TMemoryStream data("abc");
    TMemoryStream key = StreamOf(SharedKeys().PublicKeyBlob);
    const std::string expected = "KeyStoreName Must be set";
    EXPECT_EQ(
        MessageOf([&] { manager.ImportKeyWithPassword(PrivateBlobStream(), PasswordStream()); }),
        expected);
    EXPECT_EQ(MessageOf([&] { manager.Decrypt(data, key); }), expected);
    EXPECT_EQ(MessageOf([&] { manager.Encrypt(data, key); }), expected);
    EXPECT_EQ(data.View(), "abc");
    EXPECT_EQ(key.Bytes(), SharedKeys().PublicKeyBlob);
    EXPECT_EQ(KeyFolderEntries(), entriesBefore);
    EXPECT_EQ(MessageOf([&] { manager.AcquireContext("", false); }), "Unable Create Key Store");
}

TEST(CryptManager, FirstImportCreatesAPrivateContainerThatDecryptFinds) {
    TCryptManager manager;
    manager.KeyStoreName = FreshContainerName();
    const std::string path = TKeyContainer::GetPath(manager.KeyStoreName, false);
    ASSERT_FALSE(std::filesystem::exists(path));
    manager.ImportKeyWithPassword(PrivateBlobStream(), PasswordStream());
    EXPECT_EQ(ModeOf(KeyFolder()), 0700u);
    EXPECT_EQ(ModeOf(path), 0600u);

    const std::vector<uint8_t> plain = RandomBytes(1000, 1);
    TMemoryStream data = StreamOf(plain);
    data.SetPosition(17); // streams are used whole, whatever the position
    TMemoryStream key = StreamOf(SharedKeys().PublicKeyBlob);
    key.SetPosition(100);
    manager.Encrypt(data, key);
    EXPECT_EQ(data.GetSize(), plain.size());
    EXPECT_EQ(data.GetPosition(), 17u);
    EXPECT_NE(data.Bytes(), plain);

    // Another instance (a later run) finds the pair in the same container.
    TCryptManager later;
    later.KeyStoreName = manager.KeyStoreName;
    later.Decrypt(data, key);
    EXPECT_EQ(data.Bytes(), plain);
    EXPECT_EQ(data.GetPosition(), 0u);
}

TEST(CryptManager, EmptyDataRoundTrips) {
    const TCryptManager manager = ManagerWithPair();
    TMemoryStream data;
    TMemoryStream key = StreamOf(SharedKeys().PublicKeyBlob);
    manager.Encrypt(data, key);
    EXPECT_EQ(data.GetSize(), 0u);
    manager.Decrypt(data, key);
    EXPECT_EQ(data.GetSize(), 0u);
}

TEST(CryptManager, ImportReplacesTheStoredPairAndRejectsWrongPasswordsAndDamage) {
    TCryptManager manager = ManagerWithPair();
    const std::vector<uint8_t> plain = RandomBytes(50, 2);
    TMemoryStream data = StreamOf(plain);
    TMemoryStream key = StreamOf(SharedKeys().PublicKeyBlob);
    manager.Encrypt(data, key);

    const size_t descriptors = OpenDescriptorCount();
    TMemoryStream damaged = PrivateBlobStream();
    damaged.GetMemory()[300] ^= 1;
    TMemoryStream truncated = PrivateBlobStream();
    truncated.SetSize(595);
    TMemoryStream signatureKey = PrivateBlobStream();
    signatureKey.GetMemory()[5] = 0x24; // a signature pair, not a key-exchange pair
    for (TMemoryStream* blob : {&damaged, &truncated, &signatureKey}) {
        EXPECT_EQ(MessageOf([&] { manager.ImportKeyWithPassword(*blob, PasswordStream()); }),
                  "Unable Import Key");
    }
    EXPECT_EQ(MessageOf([&] {
                  manager.ImportKeyWithPassword(PrivateBlobStream(), PasswordStream("qm848"));
              }),
              "Unable Import Key");
    EXPECT_EQ(
        MessageOf([&] { manager.ImportKeyWithPassword(PrivateBlobStream(), TMemoryStream()); }),
        "Unable Import Key");
    EXPECT_EQ(OpenDescriptorCount(), descriptors);

    // The earlier pair is still there, and a new pair replaces it.
    TMemoryStream copy = data;
    manager.Decrypt(copy, key);
    EXPECT_EQ(copy.Bytes(), plain);
    const TPackageKeys other = MakePackageKeys({reinterpret_cast<const uint8_t*>("x"), 1});
    TMemoryStream otherPassword("x");
    manager.ImportKeyWithPassword(StreamOf(other.PrivateKeyBlob.Span()), otherPassword);
    EXPECT_EQ(MessageOf([&] { manager.Decrypt(data, key); }), "Unable Import Session Key");

    // Only container files are left in the folder: no temporary file of a failed write.
    for (const std::string& name : KeyFolderEntries()) {
        EXPECT_TRUE(name.ends_with(".key")) << name;
    }
}

TEST(CryptManager, DecryptFailuresCarryTheirMessages) {
    TCryptManager empty;
    empty.KeyStoreName = FreshContainerName();
    TMemoryStream data("cipher");
    TMemoryStream noKey;
    EXPECT_EQ(MessageOf([&] { empty.Decrypt(data, noKey); }), "Unable Get User Key");
    // The first use made the container, empty.
    EXPECT_EQ(std::filesystem::file_size(TKeyContainer::GetPath(empty.KeyStoreName, false)), 0u);

    const TCryptManager manager = ManagerWithPair();
    TMemoryStream good = StreamOf(SharedKeys().PublicKeyBlob);
    TMemoryStream plain("some plain text");
    manager.Encrypt(plain, good);
    const size_t descriptors = OpenDescriptorCount();
    auto damage = [&](auto change) {
        TMemoryStream blob = good;
        change(blob);
        TMemoryStream copy = plain;
        return MessageOf([&] { manager.Decrypt(copy, blob); });
    };
    const std::string rejected = "Unable Import Session Key";
    EXPECT_EQ(damage([](TMemoryStream& b) { b.GetMemory()[40] ^= 0x80; }), rejected);
    EXPECT_EQ(damage([](TMemoryStream& b) { b.GetMemory()[4] = 0x02; }), rejected); // not RC4
    EXPECT_EQ(damage([](TMemoryStream& b) { b.GetMemory()[9] = 0x24; }),
              rejected); // not key exchange
    EXPECT_EQ(damage([](TMemoryStream& b) { b.SetSize(139); }), rejected);
    EXPECT_EQ(damage([](TMemoryStream& b) { b.Clear(); }), rejected);
    EXPECT_EQ(damage([](TMemoryStream& b) { std::fill_n(b.GetMemory() + 12, 128, 0xFF); }),
              rejected);
    EXPECT_EQ(OpenDescriptorCount(), descriptors);

    // Damaged cipher text is no error of this stage: it decrypts to other bytes.
    TMemoryStream copy = plain;
    copy.GetMemory()[3] ^= 0x01;
    manager.Decrypt(copy, good);
    EXPECT_EQ(copy.GetSize(), 15u);
    EXPECT_NE(copy.View(), "some plain text");
    EXPECT_EQ(copy.View().substr(4), " plain text");
}

TEST(CryptManager, EncryptRejectsUnusablePublicKeysAndLeavesTheDataAlone) {
    TCryptManager manager;
    manager.KeyStoreName = FreshContainerName();
    const std::vector<uint8_t>& pub = SharedKeys().PublicKeyBlob;
    auto attempt = [&](std::vector<uint8_t> blob) {
        TMemoryStream data("plain");
        TMemoryStream key = StreamOf(blob);
        const std::string message = MessageOf([&] { manager.Encrypt(data, key); });
        EXPECT_EQ(data.View(), "plain");
        EXPECT_EQ(key.Bytes(), blob);
        return message;
    };
    const std::string rejected = "Unable Import Public Key";
    EXPECT_EQ(attempt({}), rejected);
    EXPECT_EQ(attempt({pub.begin(), pub.end() - 1}), rejected);
    EXPECT_EQ(attempt(RandomBytes(148, 3)), rejected);
    std::vector<uint8_t> even = pub;
    even[20] &= 0xFE; // an even modulus
    EXPECT_EQ(attempt(even), rejected);
    std::vector<uint8_t> shortModulus = pub;
    shortModulus[147] = 0; // the top byte of the declared 1,024 bits is missing
    EXPECT_EQ(attempt(shortModulus), rejected);
    std::vector<uint8_t> signature = pub;
    signature[5] = 0x24;
    EXPECT_EQ(attempt(signature), rejected);
    EXPECT_EQ(attempt({SharedKeys().PrivateKeyBlob.data(),
                       SharedKeys().PrivateKeyBlob.data() + SharedKeys().PrivateKeyBlob.size()}),
              rejected);
}

// A key folder that someone made wider open is narrowed whenever a container in it is used,
// also when the container exists already; one of another user is not used at all.
TEST(CryptManager, TheKeyFolderIsNarrowedToItsOwner) {
    const TCryptManager manager = ManagerWithPair();
    TMemoryStream data("private");
    TMemoryStream key;
    const std::vector<std::function<void()>> uses = {
        [&] { manager.AcquireContext(manager.KeyStoreName, false); },
        [&] { manager.AcquireContext(FreshContainerName(), false); },
        [&] {
            key = StreamOf(SharedKeys().PublicKeyBlob);
            manager.Encrypt(data, key);
        },
        [&] { manager.Decrypt(data, key); },
    };
    for (const mode_t wide : {0755, 0777, 0710, 0500}) {
        for (const auto& use : uses) {
            ASSERT_EQ(chmod(KeyFolder().c_str(), wide), 0);
            use();
            EXPECT_EQ(ModeOf(KeyFolder()), 0700u) << std::oct << wide;
        }
    }
    EXPECT_EQ(data.View(), "private");

    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can give the folder to another user";
    }
    ASSERT_EQ(chown(KeyFolder().c_str(), 65534, 65534), 0);
    const std::string refused =
        "The key container folder " + KeyFolder() + " belongs to another user";
    EXPECT_EQ(MessageOf(uses[0]), refused);
    EXPECT_EQ(MessageOf(uses[1]), refused);
    EXPECT_EQ(MessageOf(uses[2]), refused);
    EXPECT_EQ(data.View(), "private");
    ASSERT_EQ(chown(KeyFolder().c_str(), 0, 0), 0);
    EXPECT_EQ(MessageOf(uses[0]), "");

    // A link in place of the folder is not followed.
    const std::string moved = KeyFolder() + ".real";
    std::filesystem::rename(KeyFolder(), moved);
    std::filesystem::create_directory_symlink(moved, KeyFolder());
    EXPECT_EQ(MessageOf(uses[1]), "Unable Create Key Store");
    std::filesystem::remove(KeyFolder());
    std::filesystem::rename(moved, KeyFolder());
}

TEST(CryptManager, AcquireContextGeneratesOnlyInANewContainer) {
    const TCryptManager manager;
    const std::string fresh = FreshContainerName();
    const auto generated = manager.AcquireContext(fresh, true);
    const auto pair = generated->GetUserKey();
    ASSERT_NE(pair, nullptr);
    EXPECT_EQ(pair->GetPublic().ModulusSize(), 128u);

    // Reopening keeps the stored pair; an existing empty container gets none.
    const auto reopened = manager.AcquireContext(fresh, true);
    EXPECT_EQ(ExportPublicKeyBlob(reopened->GetUserKey()->GetPublic()),
              ExportPublicKeyBlob(pair->GetPublic()));
    const std::string empty = FreshContainerName();
    manager.AcquireContext(empty, false);
    EXPECT_EQ(manager.AcquireContext(empty, true)->GetUserKey(), nullptr);

    // The generated pair works end to end.
    TCryptManager user;
    user.KeyStoreName = fresh;
    TMemoryStream data("generated");
    TMemoryStream key = StreamOf(ExportPublicKeyBlob(pair->GetPublic()));
    user.Encrypt(data, key);
    user.Decrypt(data, key);
    EXPECT_EQ(data.View(), "generated");
}

// Something else under a container's name is never read, waited on or followed: every
// operation says what is wrong at once and leaves it alone.
TEST(CryptManager, AContainerThatIsNoRegularFileIsNamedNotUsed) {
    const TCryptManager keyed = ManagerWithPair();
    const std::string keyFile = TKeyContainer::GetPath(keyed.KeyStoreName, false);
    const struct {
        const char* What;
        std::function<void(const std::string&)> Make;
    } cases[] = {
        {"a named pipe", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }},
        {"a folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
        {"a link to a key",
         [&](const std::string& path) { std::filesystem::create_symlink(keyFile, path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TCryptManager manager;
        manager.KeyStoreName = FreshContainerName();
        const std::string path = TKeyContainer::GetPath(manager.KeyStoreName, false);
        c.Make(path);
        const auto type = std::filesystem::symlink_status(path).type();
        const THangGuard guard(20);
        TMemoryStream data("abc");
        TMemoryStream key = StreamOf(SharedKeys().PublicKeyBlob);
        const std::string expected = path + " is not a regular file";
        EXPECT_EQ(MessageOf([&] {
                      manager.ImportKeyWithPassword(PrivateBlobStream(), PasswordStream());
                  }),
                  expected);
        EXPECT_EQ(MessageOf([&] { manager.Decrypt(data, key); }), expected);
        EXPECT_EQ(MessageOf([&] { manager.Encrypt(data, key); }), expected);
        EXPECT_EQ(data.View(), "abc");
        EXPECT_EQ(std::filesystem::symlink_status(path).type(), type);
    }
}

TEST(CryptManager, ContainerNamesMapToDistinctFilesInsideTheFolder) {
    const std::vector<std::string> names{"a/b", "a%2Fb", "../escape", ".hidden", "Lumetra.Stellik"};
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(TKeyContainer::GetPath(name, false));
        EXPECT_EQ(std::filesystem::path(paths.back()).parent_path(), KeyFolder()) << name;
        EXPECT_NE(std::filesystem::path(paths.back()).filename().string()[0], '.') << name;
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(std::unique(paths.begin(), paths.end()), paths.end());
    EXPECT_EQ(std::filesystem::path(TKeyContainer::GetPath("Lumetra.Stellik", false)).filename(),
              "Lumetra.Stellik.key");
}

} // namespace
} // namespace stellik::testing
