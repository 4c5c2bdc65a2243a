// Damaged players: a package ("DVCF") or package key ("DVCK") that is missing, cut short,
// altered bit by bit or valid but made for something else, and damaged settings. Each shows one
// message of its own through the standard handler and leaves a window without a page that still
// closes; what an alteration leaves readable loads as usual. Never a crash, a hang, or a
// message that is a library's internals.
#include "ShellKit.h"

#include "documents/SettingsObj.h"
#include "package/Base64.h"
#include "package/PackageKeys.h"
#include "platform/Exception.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace stellik::testing {
namespace {

// What the window shows after its first activation.
struct TOutcome {
    bool Loaded = false; // the first page is shown
    std::string Message; // the standard handler's one message; "" when none
};

// The event entry of the window: a failure goes to the standard handler. A failure that is not
// one of the program's own messages (the runtime's or a library's) is a fault in itself: its
// text means nothing to the user.
void Guarded(TShellKit& kit, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception& error) {
        kit.Dialogs.ShowException(error);
    } catch (const std::exception& error) {
        ADD_FAILURE() << "not a message for the user: " << error.what();
        kit.Dialogs.ShowException(error);
    }
}

// A message a box can show: UTF-8 text without control characters but line breaks and tabs.
bool IsShowable(const std::string& text) {
    return !text.empty() &&
           g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr) &&
           std::none_of(text.begin(), text.end(), [](char c) {
               const auto code = static_cast<unsigned char>(c);
               return code < 0x20 && c != '\r' && c != '\n' && c != '\t';
           });
}

// Loads a player with these resources as its window would and checks that it ended one way or
// the other. Then the window goes on: use (when given) works with it, it ticks, ignores a second
// activation and closes (a run under way is ended when the user confirms).
TOutcome Load(TShellKit& kit, const std::function<void()>& use = {}) {
    Guarded(kit, [&] { kit.Start(); });
    TOutcome outcome;
    outcome.Loaded = !kit.View.Pages.empty();
    EXPECT_LE(kit.Dialogs.Exceptions.size(), 1U);
    if (!kit.Dialogs.Exceptions.empty()) {
        outcome.Message = kit.Dialogs.Exceptions.front();
        EXPECT_TRUE(IsShowable(outcome.Message)) << outcome.Message;
        EXPECT_FALSE(outcome.Loaded) << "a page and a message: " << outcome.Message;
    } else {
        EXPECT_TRUE(outcome.Loaded) << "neither a page nor a message";
    }
    if (outcome.Loaded && use) {
        Guarded(kit, use);
    }
    const size_t pages = kit.View.Pages.size();
    Guarded(kit, [&] {
        kit.Frame().Timer1Timer();
        kit.Frame().FormActivate();
    });
    EXPECT_GE(kit.View.Pages.size(), pages);
    EXPECT_EQ(kit.View.Pages.empty(), !outcome.Loaded);
    kit.Dialogs.Answers = {TMsgResult::Yes, TMsgResult::No};
    bool closed = false;
    Guarded(kit, [&] {
        closed = kit.Frame().FormClose(TWindowPlacement{10, 20, 300, 400, false});
    });
    EXPECT_TRUE(closed);
    return outcome;
}

TOutcome LoadWith(const std::function<void(std::map<std::string, std::string>&)>& damage,
                  const std::string& settingsXml = KitSettingsXml("<save-results/>")) {
    TShellKit kit(settingsXml);
    damage(kit.Resources);
    return Load(kit);
}

std::string Bytes(const TSecureBytes& blob) {
    return std::string(blob.Span().begin(), blob.Span().end());
}

// A pair other than the kit's, under the same password: the key of another package.
const TPackageKeys& OtherKeys() {
    static const TPackageKeys keys = MakePlayerKeys();
    return keys;
}

// Positions spread over a part of the given size, both ends included.
std::vector<size_t> Positions(size_t size, size_t count) {
    std::vector<size_t> positions;
    for (size_t i = 0; i < count && size > 0; ++i) {
        positions.push_back(i * (size - 1) / std::max<size_t>(count - 1, 1));
    }
    return positions;
}

// Every case starts from the undamaged player; making it also names the key container that
// encrypting members needs.
class DamagedPackage : public ::testing::Test {
protected:
    TShellKit Reference;
    const std::map<std::string, std::string>& Good() const { return Reference.Resources; }
};

TEST_F(DamagedPackage, AMissingOrCutPartShowsItsMessage) {
    const std::map<std::string, std::string>& good = Good();
    EXPECT_EQ(LoadWith([](auto& r) { r.erase("DVCF"); }).Message, "Resource DVCF not found");
    EXPECT_EQ(LoadWith([](auto& r) { r.erase("DVCK"); }).Message, "Resource DVCK not found");
    // Every cut of the key blob, and cuts all over the archive (its directory is at the end).
    for (size_t length = 0; length < good.at("DVCK").size(); length += 5) {
        SCOPED_TRACE("DVCK cut to " + std::to_string(length));
        EXPECT_EQ(LoadWith([&](auto& r) { r["DVCK"].resize(length); }).Message,
                  "Unable Import Key");
    }
    for (const size_t length : Positions(good.at("DVCF").size() - 1, 40)) {
        SCOPED_TRACE("DVCF cut to " + std::to_string(length));
        EXPECT_NE(LoadWith([&](auto& r) { r["DVCF"].resize(length); }).Message, "");
    }
}

TEST_F(DamagedPackage, AlteredBitsShowAMessageOrLoadWhatTheyLeaveReadable) {
    const std::map<std::string, std::string>& good = Good();
    // Every byte of the key blob is checked but the two reserved ones of its header.
    const size_t keySize = good.at("DVCK").size();
    for (size_t at = 0; at < keySize; at += (at < 24 ? 1 : 13)) {
        SCOPED_TRACE("DVCK byte " + std::to_string(at));
        const TOutcome outcome = LoadWith([&](auto& r) { r["DVCK"][at] ^= 0x10; });
        if (at == 2 || at == 3) {
            EXPECT_TRUE(outcome.Loaded);
        } else {
            EXPECT_EQ(outcome.Message, "Unable Import Key");
        }
    }
    // In the archive a flip may hit a picture, a time stamp or the cipher text of a letter;
    // Load checks that each ends as a page or as a message.
    int messages = 0;
    for (const size_t at : Positions(good.at("DVCF").size(), 120)) {
        SCOPED_TRACE("DVCF byte " + std::to_string(at));
        messages += LoadWith([&](auto& r) { r["DVCF"][at] ^= 0x04; }).Loaded ? 0 : 1;
    }
    EXPECT_GT(messages, 0);
}

TEST_F(DamagedPackage, AnArchiveOfOtherMembersShowsAMessage) {
    const std::string test = EncryptForPackage(KitTestXml());
    const std::string settings = EncryptForPackage(KitSettingsXml());
    const std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>
        archives = {
            {"no members", {}},
            {"pictures only", {{"pic.gif", PictureBytes}}},
            {"other names", {{"content.xml", test}, {"settings.xml.bak", settings}}},
            {"no settings", {{"scontent.xml", test}}},
            {"swapped", {{"scontent.xml", settings}, {"settings.xml", test}}},
            {"empty members", {{"scontent.xml", ""}, {"settings.xml", ""}}},
            {"plain members", {{"scontent.xml", KitTestXml()}, {"settings.xml", KitSettingsXml()}}},
            {"an archive inside",
             {{"scontent.xml", MakeArchive({{"scontent.xml", test}})}, {"settings.xml", settings}}},
        };
    for (const auto& [name, members] : archives) {
        SCOPED_TRACE(name);
        EXPECT_NE(LoadWith([&](auto& r) { r["DVCF"] = MakeArchive(members); }).Message, "");
    }
}

TEST_F(DamagedPackage, AKeyOrPackageMadeForAnotherPlayerShowsAMessage) {
    // The key imports; the members' session keys do not open with it.
    EXPECT_NE(LoadWith([](auto& r) { r["DVCK"] = Bytes(OtherKeys().PrivateKeyBlob); }).Message, "");
    // A public key where the pair belongs.
    EXPECT_EQ(LoadWith([](auto& r) {
                  r["DVCK"] = std::string(OtherKeys().PublicKeyBlob.begin(),
                                          OtherKeys().PublicKeyBlob.end());
              }).Message,
              "Unable Import Key");
    // The package of another player, whose key this player does not have.
    const auto encryptForOther = [](const std::string& plain) {
        TXmlCryptManager maker;
        TMemoryStream data(plain);
        maker.Encrypt(data, Base64Encode(OtherKeys().PublicKeyBlob));
        TMemoryStream document;
        maker.GetDocument().SaveToStream(document);
        return std::string(document.View());
    };
    const std::string otherPackage =
        MakeArchive({{"scontent.xml", encryptForOther(KitTestXml())},
                     {"settings.xml", encryptForOther(KitSettingsXml())}});
    EXPECT_NE(LoadWith([&](auto& r) { r["DVCF"] = otherPackage; }).Message, "");
}

// Sets the uncompressed size that the member's local header and directory entry declare.
void DeclareSize(std::string& archive, std::string_view member, uint32_t size) {
    const auto patch = [&](std::string_view signature, size_t nameAt, size_t sizeAt) {
        for (size_t at = archive.find(signature); at != std::string::npos;
             at = archive.find(signature, at + 1)) {
            if (archive.compare(at + nameAt, member.size(), member) == 0) {
                for (size_t i = 0; i < 4; ++i) {
                    archive[at + sizeAt + i] = static_cast<char>(size >> (8 * i));
                }
            }
        }
    };
    patch(std::string_view("PK\x03\x04", 4), 30, 22); // local header
    patch(std::string_view("PK\x01\x02", 4), 46, 24); // directory entry
}

TEST_F(DamagedPackage, APictureYieldsNoMoreThanItsArchiveDeclares) {
    // Eight megabytes of picture that deflate to a few kilobytes, declared as 26 bytes.
    std::string package = MakeArchive({{"scontent.xml", EncryptForPackage(KitTestXml())},
                                       {"settings.xml", EncryptForPackage(KitSettingsXml())},
                                       {"pic.gif", std::string(8 << 20, 'G')}});
    DeclareSize(package, "pic.gif", static_cast<uint32_t>(PictureBytes.size()));
    TShellKit kit;
    kit.Resources["DVCF"] = package;
    ASSERT_TRUE(Load(kit, [&] {
                    EXPECT_EQ(
                        kit.Frame().HTMLViewer1ImageRequest("stellik://content/pic.gif").View(),
                        std::string(PictureBytes.size(), 'G'));
                }).Loaded);
}

TEST(DamagedSettings, DamagedSettingsShowAMessageOrLoadTheirDefaults) {
    const std::string good = KitSettingsXml(
        "<save-results/><rating-level>1</rating-level><test-time>20</test-time>"
        "<view-profile><base-params><test-run-mode>sepmsg</test-run-mode><show-report/>"
        "</base-params></view-profile><mark-profile><for-minimum>2</for-minimum>"
        "<for-result value=\"50\">3</for-result></mark-profile>");
    std::vector<std::pair<std::string, std::string>> settings = {
        {"empty", ""},
        {"not XML", "settings"},
        {"binary", std::string("\x00\xff\xfe\x01PK\x03\x04", 9)},
        {"other root", "<?xml version=\"1.0\"?><settings/>"},
        {"unknown run mode", KitSettingsXml("<view-profile><base-params><test-run-mode>fast"
                                            "</test-run-mode></base-params></view-profile>")},
        {"absurd numbers", KitSettingsXml("<rating-level>99999999999</rating-level>"
                                          "<test-time>-2147483648</test-time>")},
        {"huge time", KitSettingsXml("<test-time>2147483647</test-time>")},
        {"marks out of range",
         KitSettingsXml("<mark-profile><for-result value=\"-5\">x</for-result>"
                        "<for-result value=\"100000\">y</for-result><for-result>z</for-result>"
                        "</mark-profile>")},
        {"nested deeply", KitSettingsXml(std::string(600, '<') + "a>")},
    };
    for (const size_t length : Positions(good.size(), 12)) {
        settings.emplace_back("cut to " + std::to_string(length), good.substr(0, length));
    }
    for (const size_t at : Positions(good.size(), 24)) {
        std::string flipped = good;
        flipped[at] ^= 0x20;
        settings.emplace_back("flip at " + std::to_string(at), flipped);
    }
    for (const auto& [name, xml] : settings) {
        SCOPED_TRACE(name);
        TShellKit kit(xml);
        // What loads runs: it starts, ticks and moves on with what was read.
        Load(kit, [&] {
            kit.Click("runtest");
            kit.Frame().Timer1Timer();
            kit.Submit("testinput", {{"CMD/SKIP", ""}});
            EXPECT_GE(kit.View.Pages.size(), 3U);
        });
    }
}

} // namespace
} // namespace stellik::testing
