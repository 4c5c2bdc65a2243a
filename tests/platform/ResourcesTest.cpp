// The program's resources: look-up, and the archive appended to a program file.
#include "platform/Resources.h"
#include "platform/Exception.h"
#include "platform/ResourceArchive.h"
#include "tests/support/MessageOf.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace stellik::testing {
namespace {

using TResourceList = std::vector<std::pair<std::string, std::string>>;

std::string RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator());
    }
    return bytes;
}

uint32_t Le32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 4; i > 0; --i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i - 1]);
    }
    return value;
}

// Where the archive's pieces lie in a file that AppendResources made (trailer of 34 bytes).
constexpr size_t TrailerSize = 34;
size_t EndRecordOf(const std::string& file) {
    return file.size() - 22 - TrailerSize;
}
size_t DirectoryOf(const std::string& file) {
    return Le32(file, EndRecordOf(file) + 16);
}

class ResourcesTest : public ::testing::Test {
protected:
    void TearDown() override { TResources::UseExecutable(); }
};

const std::string Program = RandomBytes(5000, 1);
const TResourceList Members = {
    {"XTF_V1P0", "<!ELEMENT test (name?)>\n"},
    {"EMPTY", ""},
    {"StartBtn_Gif", RandomBytes(700, 2)},
    {"DVCF", RandomBytes(70000, 3)},
};

TEST_F(ResourcesTest, NamesMatchWithoutRegardToCase) {
    TResources::Install({{"XTF_V1P2", "dtd text"}, {"startbtn_gif", "GIF89a"}});
    EXPECT_EQ(TResources::Get("xtf_v1p2"), "dtd text");
    EXPECT_EQ(TResources::Get("STARTBTN_GIF"), "GIF89a");
    EXPECT_TRUE(TResources::Exists("Xtf_V1p2"));
    EXPECT_FALSE(TResources::Exists("XTF_V1P3"));
    TMemoryStream stream = TResources::Open("XtF_v1P2");
    EXPECT_EQ(stream.GetPosition(), 0u);
    EXPECT_EQ(stream.View(), "dtd text");
}

TEST_F(ResourcesTest, AMissingNameRaisesTheRuntimeMessageWithTheNameAsAskedFor) {
    TResources::Install({{"VIEW_STYLE", "<xsl/>"}});
    try {
        TResources::Get("xtf_v1p1");
        FAIL() << "no exception";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.GetMessage(), "Resource xtf_v1p1 not found");
    }
    EXPECT_EQ(MessageOf([] { TResources::Open("DVCK"); }), "Resource DVCK not found");
}

TEST_F(ResourcesTest, AProgramFileWithoutAnArchiveHasNoResources) {
    TResources::UseExecutable(); // this test program carries none
    EXPECT_FALSE(TResources::Exists("XTF_V1P0"));
    EXPECT_EQ(MessageOf([] { TResources::Get("XTF_V1P0"); }), "Resource XTF_V1P0 not found");
}

TEST(ResourceArchive, AppendedResourcesReadBackInOrderBehindTheProgramBytes) {
    const std::string file = AppendResources(Program, Members);
    EXPECT_EQ(file.substr(0, Program.size()), Program);
    EXPECT_EQ(ReadResources(file), Members);
    EXPECT_TRUE(ReadResources(Program).empty());
}

TEST(ResourceArchive, AppendingAgainReplacesTheArchive) {
    const std::string first = AppendResources(Program, Members);
    const std::string second = AppendResources(first, {{"ONLY", "x"}});
    EXPECT_EQ(second.substr(0, Program.size()), Program);
    EXPECT_EQ(ReadResources(second), (TResourceList{{"ONLY", "x"}}));
    EXPECT_EQ(AppendResources(first, {}), Program);
    EXPECT_EQ(AppendResources(second, Members), first); // the same input gives the same file
}

TEST(ResourceArchive, AStandardZipReaderSeesTheWholeFileAsAnArchiveOfStoredMembers) {
    const std::string file = AppendResources(Program, Members);
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016zX", Program.size());
    EXPECT_EQ(file.substr(file.size() - TrailerSize), std::string("STELLIK-RESOURCES@") + digits);

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(file.data(), file.size(), 0, &error);
    std::unique_ptr<zip_t, decltype(&zip_discard)> archive(
        zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error), &zip_discard);
    zip_error_fini(&error);
    ASSERT_TRUE(archive);
    ASSERT_EQ(zip_get_num_entries(archive.get(), 0), static_cast<zip_int64_t>(Members.size()));
    for (zip_uint64_t i = 0; i < Members.size(); ++i) {
        zip_stat_t stat;
        ASSERT_EQ(zip_stat_index(archive.get(), i, 0, &stat), 0);
        EXPECT_EQ(stat.name, Members[i].first);
        EXPECT_EQ(stat.comp_method, ZIP_CM_STORE);
        std::string content(Members[i].second.size() + 1, '\0');
        zip_file_t* member = zip_fopen_index(archive.get(), i, 0);
        ASSERT_NE(member, nullptr);
        // Reading to the end checks the stored CRC-32.
        const zip_int64_t n = zip_fread(member, content.data(), content.size());
        zip_fclose(member);
        EXPECT_EQ(n, static_cast<zip_int64_t>(Members[i].second.size()));
        content.resize(n < 0 ? 0 : static_cast<size_t>(n));
        EXPECT_EQ(content, Members[i].second);
    }
    int commentSize = 0;
    const char* comment = zip_get_archive_comment(archive.get(), &commentSize, ZIP_FL_ENC_RAW);
    EXPECT_EQ(std::string(comment, static_cast<size_t>(commentSize)),
              file.substr(file.size() - TrailerSize));
}

// The archive libzip writes of the same members (stored, with the time every member carries
// and the trailer as the comment) when the archive starts the file.
std::string WrittenByLibzip(const TResourceList& members, const std::string& comment) {
    constexpr time_t MemberTime = 1704067200; // 2024-01-01
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, decltype(&zip_source_free)> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error), &zip_source_free);
    zip_t* archive = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (archive == nullptr) {
        ADD_FAILURE() << "libzip cannot make an archive";
        return {};
    }
    zip_source_keep(buffer.get()); // the archive's reference goes with it
    for (const auto& [name, bytes] : members) {
        zip_source_t* member = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), member, ZIP_FL_ENC_GUESS);
        EXPECT_GE(index, 0) << name;
        const auto at = static_cast<zip_uint64_t>(index);
        EXPECT_EQ(zip_set_file_compression(archive, at, ZIP_CM_STORE, 0), 0);
        EXPECT_EQ(zip_file_set_mtime(archive, at, MemberTime, 0), 0);
    }
    EXPECT_EQ(
        zip_set_archive_comment(archive, comment.data(), static_cast<zip_uint16_t>(comment.size())),
        0);
    EXPECT_EQ(zip_close(archive), 0);
    zip_stat_t stat;
    zip_stat_init(&stat);
    EXPECT_EQ(zip_source_stat(buffer.get(), &stat), 0);
    std::string bytes(stat.size, '\0');
    EXPECT_EQ(zip_source_open(buffer.get()), 0);
    EXPECT_EQ(zip_source_read(buffer.get(), bytes.data(), bytes.size()),
              static_cast<zip_int64_t>(bytes.size()));
    zip_source_close(buffer.get());
    return bytes;
}

// The records are written by hand, around the members' bytes where they lie, and stay byte for
// byte what a standard ZIP writer makes of the same members: names ASCII, UTF-8 (flagged as
// such), not UTF-8, or naming a folder; an empty member and one of several megabytes.
TEST(ResourceArchive, TheArchiveIsByteForByteWhatAStandardZipWriterMakes) {
    const TResourceList members = {
        {"XTF_V1P0", "<!ELEMENT test (name?)>\n"},
        {"EMPTY", ""},
        {"Солнце.png", RandomBytes(5000, 4)},
        {"not\xFFutf8", "x"},
        {"folder/", ""},
        {"DVCF", RandomBytes(9 << 20, 5)},
    };
    const std::string ours = BuildResourceArchive(0, members);
    const std::string theirs = WrittenByLibzip(members, "STELLIK-RESOURCES@0000000000000000");
    ASSERT_EQ(ours.size(), theirs.size());
    const auto differs = std::mismatch(ours.begin(), ours.end(), theirs.begin()).first;
    EXPECT_EQ(differs, ours.end()) << "first difference at byte " << differs - ours.begin();
    // Behind a program, where its offsets count from the file's start, it reads back whole.
    EXPECT_EQ(ReadResources(AppendResources(Program, members)), members);
}

TEST(ResourceArchive, ADamagedArchiveIsRefusedWhateverIsWrong) {
    const std::string good = AppendResources(Program, Members);
    const std::vector<std::pair<const char*, std::function<void(std::string&)>>> damages = {
        {"offset beyond the file", [](std::string& f) { f.replace(f.size() - 16, 16, 16, 'F'); }},
        {"offset not hexadecimal", [](std::string& f) { f[f.size() - 3] = 'G'; }},
        {"offset inside the program", [](std::string& f) { f[f.size() - 1] -= 1; }},
        {"end record signature", [](std::string& f) { f[EndRecordOf(f)] ^= 1; }},
        {"directory signature", [](std::string& f) { f[DirectoryOf(f)] ^= 1; }},
        {"compressed member", [](std::string& f) { f[DirectoryOf(f) + 10] = 8; }},
        {"member longer than the file", [](std::string& f) { f[DirectoryOf(f) + 27] = 0x7F; }},
        {"bytes lost inside a member", [](std::string& f) { f.erase(Program.size() + 100, 10); }},
        {"program bytes lost", [](std::string& f) { f.erase(0, 100); }},
        {"archive cut short", [](std::string& f) { f.erase(0, f.size() - 40); }},
    };
    for (const auto& [what, damage] : damages) {
        std::string file = good;
        damage(file);
        EXPECT_EQ(MessageOf([&] { ReadResources(file); }), "Damaged resource archive") << what;
        EXPECT_EQ(MessageOf([&] { AppendResources(file, Members); }), "Damaged resource archive")
            << what;
    }
}

// The central directory record of member index of a file that AppendResources made.
size_t DirectoryEntryOf(const std::string& file, size_t index) {
    size_t at = DirectoryOf(file);
    for (size_t i = 0; i < index; ++i) {
        const auto u16 = [&](size_t offset) { return Le32(file, at + offset) & 0xFFFF; };
        at += 46 + u16(28) + u16(30) + u16(32);
    }
    return at;
}

// A flipped bit in a member's bytes, or in the CRC-32 its directory record gives, damages that
// member alone: parsing reads no member's bytes, and only the check of that one fails. The
// archive around it is sound, so a new one can still replace it.
TEST(ResourceArchive, AFlippedBitInAMembersBytesOrCrcDamagesThatMember) {
    const std::string good = AppendResources(Program, Members);
    const TResourceArchive sound = ParseResourceArchive(good);
    ASSERT_EQ(sound.Entries.size(), Members.size());
    for (size_t index = 0; index < Members.size(); ++index) {
        const TResourceEntry& member = sound.Entries[index];
        const size_t data = static_cast<size_t>(member.Bytes.data() - good.data());
        std::vector<std::pair<std::string, size_t>> flips = {
            {"CRC", DirectoryEntryOf(good, index) + 16}};
        if (!member.Bytes.empty()) {
            flips.emplace_back("first byte", data);
            flips.emplace_back("last byte", data + member.Bytes.size() - 1);
        }
        for (const auto& [where, at] : flips) {
            SCOPED_TRACE(member.Name + ", " + where);
            std::string file = good;
            file[at] ^= 0x04;
            EXPECT_EQ(MessageOf([&] { ReadResources(file); }), "Damaged resource archive");
            const TResourceArchive archive = ParseResourceArchive(file);
            for (size_t other = 0; other < archive.Entries.size(); ++other) {
                EXPECT_EQ(MessageOf([&] { CheckResourceCrc(archive.Entries[other]); }),
                          other == index ? "Damaged resource archive" : "")
                    << archive.Entries[other].Name;
            }
            EXPECT_EQ(ReadResources(AppendResources(file, Members)), Members);
        }
    }
}

TEST(ResourceArchive, NamesMustBeNonEmptyAndDistinctIgnoringCase) {
    EXPECT_EQ(MessageOf([] {
                  AppendResources(Program, {{"Dvcf", "1"}, {"DVCF", "2"}});
              }),
              "Duplicate resource DVCF");
    EXPECT_EQ(MessageOf([] { AppendResources(Program, {{"", "1"}}); }), "Empty resource name");
}

} // namespace
} // namespace stellik::testing
