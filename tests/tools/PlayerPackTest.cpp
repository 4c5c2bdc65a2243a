// stellik-pack's work: a player for a test that reads back through the player's own key
// import, decryption and reader; and the inputs it must refuse without writing anything.
#include "PackTestSupport.h"

#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/StreamUnZip.h"
#include "package/XmlCrypt.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "tests/support/HangGuard.h"
#include "tools/pack/PlayerPack.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace stellik::testing {
namespace {

const std::string Program = "\x7f"
                            "ELF a player's program bytes";

TResourceList PlayerResources() {
    TResourceList resources = ProgramDtds();
    resources.emplace_back("VIEW_STYLE", "<xsl:stylesheet/>");
    resources.emplace_back("dvcf", "the demo's package");
    resources.emplace_back("DVCK", "the demo's key");
    return resources;
}

std::string RealPath(const std::string& path) {
    return std::filesystem::weakly_canonical(path).string();
}

// Settings that encrypt the results for the given key text.
std::string WithKey(const std::string& key) {
    return "<?xml version=\"1.0\"?><sk-settings><save-results><encrypt-key>" + key +
           "</encrypt-key></save-results></sk-settings>";
}

const std::string UnusableKey =
    "The results encryption key (save-results/encrypt-key) is not a public key the player can "
    "import";

std::string ResourceOf(const TResourceList& resources, const std::string& name) {
    std::string found;
    int count = 0;
    for (const auto& [resource, bytes] : resources) {
        if (AsciiUpper(resource) == name) {
            found = bytes;
            ++count;
        }
    }
    EXPECT_EQ(count, 1) << name;
    return found;
}

// A player's package opened as the player opens it: the key of keyPlayer (by default the
// same player) imported into a container of the test's own, then members extracted and
// decrypted.
class TUnpacked {
public:
    explicit TUnpacked(const std::string& player) : TUnpacked(player, player) {}
    TUnpacked(const std::string& player, const std::string& keyPlayer) {
        static int containers = 0;
        CryptManager.KeyStoreName = "Test.Pack." + std::to_string(++containers);
        const TMemoryStream password(PackagePassword);
        CryptManager.ImportKeyWithPassword(
            TMemoryStream(ResourceOf(ReadResources(keyPlayer), "DVCK")), password);
        Archive = TMemoryStream(ResourceOf(ReadResources(player), "DVCF"));
        Package.Open(Archive);
    }

    std::string Member(const std::string& name) {
        TMemoryStream stream;
        Package.ExtractToStream(name, stream);
        return std::string(stream.View());
    }

    std::string Decrypted(const std::string& name) {
        TMemoryStream encrypted(Member(name));
        TXmlCryptManager crypt;
        crypt.LoadStream(encrypted);
        TMemoryStream plain;
        crypt.Decrypt(plain);
        return std::string(plain.View());
    }

private:
    TMemoryStream Archive;
    TStreamUnZip Package;
};

TEST(PlayerPack, ThePlayerCarriesTheTestItsSettingsAndPicturesForItsOwnKey) {
    const TPackFolder folder(Program, PlayerResources());
    MakePlayer(folder.Options());

    const std::string player = ReadFile(folder.Path("out/player"));
    struct stat info {};
    ASSERT_EQ(stat(folder.Path("out/player").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
    EXPECT_EQ(player.substr(0, Program.size()), Program);
    const TResourceList resources = ReadResources(player);
    std::vector<std::string> names;
    for (const auto& resource : resources) {
        names.push_back(resource.first);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"XTF_V1P0", "XTF_V1P1", "XTF_V1P2", "VIEW_STYLE",
                                               "DVCF", "DVCK"}));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(resources[i], PlayerResources()[i]);
    }

    TUnpacked unpacked(player);
    const std::string test = unpacked.Decrypted("scontent.xml");
    EXPECT_EQ(test, ReadFile(folder.Path("test/test.xml")));
    EXPECT_EQ(unpacked.Decrypted("settings.xml"), Settings);
    EXPECT_EQ(unpacked.Member("pic.png"), ReadFile(folder.Path("test/pic.png")));
    EXPECT_EQ(unpacked.Member("sub/other.gif"), ReadFile(folder.Path("test/sub/Other.GIF")));

    TTestParserObj parser;
    parser.OnDTDRequest = [](TTestParserObj&, std::u16string& name) {
        name = W(STELLIK_SOURCE_DIR "/resources/") + name;
    };
    TMemoryStream stream(test);
    TTestDoc doc;
    std::string encoding;
    parser.ParseTest(stream, doc, encoding);
    EXPECT_EQ(doc.Name, W("Проба"));
    EXPECT_EQ(doc.Questions.GetCount(), 2);
    // Nothing but the player was written.
    const std::vector<std::string> written = folder.Names();
    EXPECT_EQ(std::count_if(written.begin(), written.end(),
                            [](const std::string& name) { return name.starts_with("out/"); }),
              1);
    EXPECT_EQ(std::count(written.begin(), written.end(), "out/player"), 1);
}

// Links inside the pictures folder that stay inside it, and a pictures folder reached through
// a link, are read like plain files; a results key the player can encrypt for is taken.
TEST(PlayerPack, LinksInsideThePicturesFolderAndAUsableResultsKeyAreTaken) {
    const TPackFolder folder(Program, PlayerResources());
    TPackOptions options = folder.Options();
    std::filesystem::rename(folder.Path("test/pic.png"), folder.Path("test/sub/real.png"));
    std::filesystem::create_symlink("sub/real.png", folder.Path("test/pic.png"));
    std::filesystem::create_directory_symlink(folder.Path("test"), folder.Path("pictures"));
    options.Pictures = folder.Path("pictures");
    const TPackageKeys examiner = MakePackageKeys({});
    const std::string settings = WithKey(Base64Encode(examiner.PublicKeyBlob));
    WriteFile(folder.Path("settings.xml"), settings);
    MakePlayer(options);

    TUnpacked unpacked(ReadFile(folder.Path("out/player")));
    EXPECT_EQ(unpacked.Member("pic.png"), ReadFile(folder.Path("test/sub/real.png")));
    EXPECT_EQ(unpacked.Decrypted("settings.xml"), settings);
}

TEST(PlayerPack, EveryPlayerGetsAKeyPairOfItsOwn) {
    const TPackFolder folder(Program, PlayerResources());
    TPackOptions options = folder.Options();
    MakePlayer(options);
    options.Output = folder.Path("out/second");
    MakePlayer(options);
    const std::string first = ReadFile(folder.Path("out/player"));
    const std::string second = ReadFile(folder.Path("out/second"));
    EXPECT_NE(ResourceOf(ReadResources(first), "DVCK"), ResourceOf(ReadResources(second), "DVCK"));
    // The first player's key cannot open the second player's test.
    TUnpacked withFirstKey(second, first);
    EXPECT_EQ(MessageOf([&] { withFirstKey.Decrypted("scontent.xml"); }),
              "Unable Import Session Key");
}

TEST(PlayerPack, RefusesABadInputWithAMessageNamingItAndWritesNothing) {
    struct TCase {
        const char* what;
        std::function<void(TPackFolder&, TPackOptions&)> spoil;
        std::function<std::string(const TPackFolder&)> message;
    };
    const std::vector<TCase> cases = {
        {"test without DTD",
         [](TPackFolder& f, TPackOptions&) {
             WriteFile(f.Path("test/test.xml"), "<?xml version=\"1.0\"?><test/>");
         },
         [](const TPackFolder& f) {
             return f.Path("test/test.xml") + ": Document does not contain or reference a DTD.";
         }},
        {"test the reader refuses",
         [](TPackFolder& f, TPackOptions&) {
             WriteFile(f.Path("test/test.xml"),
                       TestDocument("<single id=\"q\"/><single id=\"q\"/>"));
         },
         [](const TPackFolder& f) {
             return f.Path("test/test.xml") + ": Идентификаторы вопросов должны быть уникальны";
         }},
        {"settings of another kind",
         [](TPackFolder& f, TPackOptions&) { WriteFile(f.Path("settings.xml"), "<settings/>"); },
         [](const TPackFolder& f) {
             return f.Path("settings.xml") + ": XML файл не является файлом настроек";
         }},
        {"missing picture",
         [](TPackFolder& f, TPackOptions&) {
             std::filesystem::remove(f.Path("test/sub/Other.GIF"));
         },
         [](const TPackFolder& f) {
             return "Picture sub/Other.GIF not found: no file " + f.Path("test/sub/Other.GIF");
         }},
        {"picture outside the folder",
         [](TPackFolder& f, TPackOptions&) {
             WriteFile(f.Path("test/test.xml"),
                       TestDocument("<single><img src=\"../settings.xml\"/></single>"));
         },
         [](const TPackFolder& f) {
             return "Picture ../settings.xml is not a file name inside " + f.Path("test");
         }},
        {"missing test", [](TPackFolder& f, TPackOptions& o) { o.Test = f.Path("none.xml"); },
         [](const TPackFolder& f) {
             return "Cannot read " + f.Path("none.xml") + ": No such file or directory";
         }},
        {"settings that are a folder",
         [](TPackFolder& f, TPackOptions& o) { o.Settings = f.Path("test"); },
         [](const TPackFolder& f) { return f.Path("test") + " is not a regular file"; }},
        {"test that is a named pipe",
         [](TPackFolder& f, TPackOptions& o) { o.Test = MakeFifo(f.Path("pipe")); },
         [](const TPackFolder& f) { return f.Path("pipe") + " is not a regular file"; }},
        {"settings that are a named pipe",
         [](TPackFolder& f, TPackOptions& o) { o.Settings = MakeFifo(f.Path("pipe")); },
         [](const TPackFolder& f) { return f.Path("pipe") + " is not a regular file"; }},
        {"player that is a named pipe",
         [](TPackFolder& f, TPackOptions& o) { o.Player = MakeFifo(f.Path("pipe")); },
         [](const TPackFolder& f) { return f.Path("pipe") + " is not a regular file"; }},
        {"player that is a folder",
         [](TPackFolder& f, TPackOptions& o) { o.Player = f.Path("out"); },
         [](const TPackFolder& f) { return f.Path("out") + " is not a regular file"; }},
        {"picture that is a named pipe",
         [](TPackFolder& f, TPackOptions&) {
             std::filesystem::remove(f.Path("test/pic.png"));
             MakeFifo(f.Path("test/pic.png"));
         },
         [](const TPackFolder& f) {
             return RealPath(f.Path("test/pic.png")) + " is not a regular file";
         }},
        {"picture that is a folder",
         [](TPackFolder& f, TPackOptions&) {
             std::filesystem::remove(f.Path("test/pic.png"));
             std::filesystem::create_directory(f.Path("test/pic.png"));
         },
         [](const TPackFolder& f) {
             return RealPath(f.Path("test/pic.png")) + " is not a regular file";
         }},
        {"picture linked out of the folder",
         [](TPackFolder& f, TPackOptions&) {
             std::filesystem::remove(f.Path("test/pic.png"));
             std::filesystem::create_symlink(f.Path("settings.xml"), f.Path("test/pic.png"));
         },
         [](const TPackFolder& f) {
             return "Picture pic.png is not a file name inside " + f.Path("test");
         }},
        {"picture folder linked out of the folder",
         [](TPackFolder& f, TPackOptions&) {
             std::filesystem::rename(f.Path("test/sub"), f.Path("sub"));
             std::filesystem::create_directory_symlink(f.Path("sub"), f.Path("test/sub"));
         },
         [](const TPackFolder& f) {
             return "Picture sub/Other.GIF is not a file name inside " + f.Path("test");
         }},
        {"player without resources",
         [](TPackFolder& f, TPackOptions&) { WriteFile(f.Path("player"), Program); },
         [](const TPackFolder& f) {
             return f.Path("player") + ": The player carries no resources";
         }},
        {"results key that is not base64",
         [](TPackFolder& f, TPackOptions&) { WriteFile(f.Path("settings.xml"), WithKey("%%%%")); },
         [](const TPackFolder& f) { return f.Path("settings.xml") + ": " + UnusableKey; }},
        {"results key that is no key blob",
         [](TPackFolder& f, TPackOptions&) { WriteFile(f.Path("settings.xml"), WithKey("AAAA")); },
         [](const TPackFolder& f) { return f.Path("settings.xml") + ": " + UnusableKey; }},
        {"results key that is a private key",
         [](TPackFolder& f, TPackOptions&) {
             const TPackageKeys keys = MakePackageKeys({});
             WriteFile(f.Path("settings.xml"), WithKey(Base64Encode(keys.PrivateKeyBlob.Span())));
         },
         [](const TPackFolder& f) { return f.Path("settings.xml") + ": " + UnusableKey; }},
        {"player without the DTDs",
         [](TPackFolder& f, TPackOptions&) {
             WriteFile(f.Path("player"), AppendResources(Program, {{"VIEW_STYLE", "x"}}));
         },
         [](const TPackFolder& f) {
             return f.Path("test/test.xml") + ": The player carries no resource XTF_v1p2";
         }},
        {"player with a damaged archive",
         [](TPackFolder& f, TPackOptions&) {
             std::string player = ReadFile(f.Path("player"));
             player.erase(Program.size(), 1);
             WriteFile(f.Path("player"), player);
         },
         [](const TPackFolder& f) { return f.Path("player") + ": Damaged resource archive"; }},
        {"output folder missing",
         [](TPackFolder& f, TPackOptions& o) { o.Output = f.Path("out/none/player"); },
         [](const TPackFolder& f) {
             return "Cannot write " + f.Path("out/none/player") + ": No such file or directory";
         }},
        {"output is a folder",
         [](TPackFolder& f, TPackOptions& o) {
             std::filesystem::create_directories(f.Path("out/folder"));
             o.Output = f.Path("out/folder");
         },
         [](const TPackFolder& f) { return f.Path("out/folder") + " is not a regular file"; }},
    };
    for (const TCase& c : cases) {
        TPackFolder folder(Program, PlayerResources());
        TPackOptions options = folder.Options();
        c.spoil(folder, options);
        const std::vector<std::string> before = folder.Names();
        const THangGuard guard(20);
        EXPECT_EQ(MessageOf([&] { MakePlayer(options); }), c.message(folder)) << c.what;
        EXPECT_EQ(folder.Names(), before) << c.what;
    }
}

TEST(PlayerPack, AFailedPackLeavesAnEarlierOutputAsItWas) {
    const TPackFolder folder(Program, PlayerResources());
    WriteFile(folder.Path("out/player"), "the earlier player");
    std::filesystem::remove(folder.Path("test/pic.png"));
    EXPECT_NE(MessageOf([&] { MakePlayer(folder.Options()); }), "");
    EXPECT_EQ(ReadFile(folder.Path("out/player")), "the earlier player");
}

} // namespace
} // namespace stellik::testing
