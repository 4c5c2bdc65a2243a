#include "ProfileTestSupport.h"

#include "documents/ExeTestOptions.h"
#include "platform/Exception.h"
#include "platform/MemoryStream.h"

#include <string>
#include <vector>

namespace stellik::testing {
namespace {

void Load(TExeTestOptions& options, std::string_view xml) {
    TMemoryStream stream(xml);
    options.LoadFromStream(stream);
}

std::string Settings(std::string_view content) {
    return "<?xml version=\"1.0\"?>\n<sk-settings>" + std::string(content) + "</sk-settings>";
}

std::vector<std::string> ViewParams(const TExeTestOptions& options) {
    std::vector<std::string> lines;
    options.GetViewProfile().WriteParams(lines);
    return lines;
}

void ExpectDefaults(const TExeTestOptions& options) {
    EXPECT_FALSE(options.GetSaveResults());
    EXPECT_EQ(options.GetResultsPath() + options.GetEncryptKey(), "");
    EXPECT_EQ(options.GetRatingLevel(), -1);
    EXPECT_EQ(options.GetTestTime(), 0);
    EXPECT_EQ(options.GetMarkProfile(), nullptr);
    EXPECT_EQ(options.GetViewProfile().Mode, 0);
    EXPECT_EQ(ViewParams(options), ViewParams(TExeTestOptions()));
}

// Every key set, each apart from its default.
const std::string FullSettings = Settings(
    "<save-results><path> /home/экзамен/results </path>"
    "<encrypt-key>BgIAAACk\n  AAQAAQ==</encrypt-key></save-results>"
    "<rating-level>2</rating-level><test-time>45</test-time>"
    "<view-profile><base-params><allow-question-skip/><test-run-mode>sepmsg</test-run-mode>"
    "</base-params></view-profile>"
    "<mark-profile><for-minimum>2</for-minimum><for-result value=\"60\">3</for-result>"
    "</mark-profile>");

void ExpectFullSettings(const TExeTestOptions& options) {
    EXPECT_TRUE(options.GetSaveResults());
    EXPECT_EQ(options.GetResultsPath(), "/home/экзамен/results");
    EXPECT_EQ(options.GetEncryptKey(), "BgIAAACk AAQAAQ==");
    EXPECT_EQ(options.GetRatingLevel(), 2);
    EXPECT_EQ(options.GetTestTime(), 45);
    EXPECT_EQ(options.GetViewProfile().Mode, 2);
    EXPECT_EQ(ViewParams(options).front(), "skipbtn=1");
    ASSERT_NE(options.GetMarkProfile(), nullptr);
    EXPECT_EQ(options.GetMarkProfile()->GetMark(70), u"3");
}

TEST(ExeTestOptions, EmptySettingsGiveTheDefaultsAndFullOnesEveryKey) {
    TExeTestOptions options;
    ExpectDefaults(options);
    Load(options, "<sk-settings/>");
    ExpectDefaults(options);
    Load(options, FullSettings);
    ExpectFullSettings(options);
}

TEST(ExeTestOptions, KeysAreTheFirstMatchingChildElementsOfTheRoot) {
    TExeTestOptions options;
    Load(options, "<sk-settings rating-level=\"4\" test-time=\"9\">"
                  "<group><save-results><path>/a</path></save-results></group>"
                  "<rating-level>x</rating-level><rating-level>1</rating-level>"
                  "<path>/b</path><!-- <test-time>5</test-time> --></sk-settings>");
    EXPECT_FALSE(options.GetSaveResults());
    EXPECT_EQ(options.GetResultsPath(), "");
    EXPECT_EQ(options.GetRatingLevel(), -1); // the first, unreadable, one counts
    EXPECT_EQ(options.GetTestTime(), 0);

    Load(options, Settings("<save-results>no<encrypt-key>K1</encrypt-key></save-results>"
                           "<save-results><path>/first</path><path>/second</path>"
                           "<encrypt-key>K2</encrypt-key></save-results>"));
    EXPECT_TRUE(options.GetSaveResults()); // presence counts, not content
    EXPECT_EQ(options.GetResultsPath(), "/first");
    EXPECT_EQ(options.GetEncryptKey(), "K1");
}

TEST(ExeTestOptions, UnreadableIntegersFallBackSilently) {
    const struct {
        const char* Text;
        int Value; // a value, or the key's fallback
    } cases[] = {
        {"2", 2},          {"  2  ", 2},
        {"$10", 16},       {"0x1A", 26},
        {"X1a", 26},       {"-3", -3},
        {"7", 7},          {"2147483647", 2147483647},
        {"2a", 0},         {"", 0},
        {"2 3", 0},        {"1.5", 0},
        {"2147483648", 0}, {"-2147483649", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        TExeTestOptions options;
        const std::string text = c.Text;
        Load(options, Settings("<test-time>" + text + "</test-time><rating-level>" + text +
                               "</rating-level>"));
        EXPECT_EQ(options.GetTestTime(), c.Value);
        EXPECT_EQ(options.GetRatingLevel(), c.Value == 0 ? -1 : c.Value);
    }
}

TEST(ExeTestOptions, ARejectedDocumentLeavesTheOptionsAsTheyWere) {
    for (std::string_view bad : {
             "<SK-Settings><rating-level>5</rating-level></SK-Settings>",
             "<sk-settings><rating-level>5</rating-level>", // does not parse
             "",
         }) {
        SCOPED_TRACE(bad);
        TExeTestOptions options;
        Load(options, FullSettings);
        const TMarkProfile* markProfile = options.GetMarkProfile();
        EXPECT_THAT([&] { Load(options, bad); }, Raises("XML файл не является файлом настроек"));
        ExpectFullSettings(options);
        EXPECT_EQ(options.GetMarkProfile(), markProfile);
    }
}

TEST(ExeTestOptions, ASecondLoadReplacesEverythingOfTheFirst) {
    TExeTestOptions options;
    Load(options, FullSettings);
    Load(options, Settings("<test-time>10</test-time>"));
    EXPECT_EQ(options.GetTestTime(), 10);
    Load(options, Settings(""));
    ExpectDefaults(options);
}

TEST(ExeTestOptions, AFailingMarkProfileLeavesTheNewKeysAndNoProfile) {
    TExeTestOptions options;
    Load(options, FullSettings);
    EXPECT_THROW(Load(options, Settings("<rating-level>1</rating-level>"
                                        "<view-profile><base-params/></view-profile>"
                                        "<mark-profile><for-result value=\"many\">5</for-result>"
                                        "</mark-profile>")),
                 EConvertError);
    EXPECT_EQ(options.GetRatingLevel(), 1);
    EXPECT_FALSE(options.GetSaveResults());
    EXPECT_FALSE(options.GetViewProfile().ShowReport); // read before the mark profile
    EXPECT_EQ(options.GetMarkProfile(), nullptr);
}

TEST(ExeTestOptions, TheMarkProfileIsHandedOverOnce) {
    TExeTestOptions options;
    Load(options, FullSettings);
    const TMarkProfile* held = options.GetMarkProfile();
    const std::unique_ptr<TMarkProfile> taken = options.ReleaseMarkProfile();
    EXPECT_EQ(taken.get(), held);
    EXPECT_EQ(options.ReleaseMarkProfile(), nullptr);
    Load(options, FullSettings); // later loads and resets leave the taken profile alone
    options.Reset();
    ExpectDefaults(options);
    EXPECT_EQ(taken->GetMark(70), u"3");
}

TEST(ExeTestOptions, ReadingStartsAtTheStreamsPosition) {
    const std::string prefix = "not part of the document";
    TMemoryStream stream(prefix + Settings("<test-time>20</test-time>"));
    stream.SetPosition(prefix.size());
    TExeTestOptions options;
    options.LoadFromStream(stream);
    EXPECT_EQ(options.GetTestTime(), 20);
}

} // namespace
} // namespace stellik::testing
