#include "ProfileTestSupport.h"

#include "documents/ViewProfiles.h"
#include "platform/Exception.h"

#include <string>
#include <vector>

namespace stellik::testing {
namespace {

using TLines = std::vector<std::string>;

// The parameter lines of a profile that nothing has been loaded into.
const TLines DefaultLines = {
    "skipbtn=0",
    "run-section-name=0",
    "run-question-info=1",
    "run-section-info=0",
    "run-rating-info=1",
    "run-time-left=1",
    "end-question-info=1",
    "end-section-info=0",
    "end-rating-info=1",
    "end-time-info=1",
    "end-mark=1",
    "rep-question-info=1",
    "rep-section-info=0",
    "rep-rating-info=1",
    "rep-time-info=1",
    "rep-mark=1",
    "rep-insect-question-info=0",
    "rep-insect-rating-info=0",
    "rep-insect-mark=0",
    "rep-right-answer=1",
};

// The default lines with every flag off, then the flags at the given line numbers on.
TLines FlagsOnlyAt(std::initializer_list<size_t> on) {
    TLines lines = DefaultLines;
    for (size_t i = 1; i < lines.size(); ++i) {
        lines[i].back() = '0';
    }
    for (size_t i : on) {
        lines[i].back() = '1';
    }
    return lines;
}

TLines ParamsOf(const TViewProfile& profile) {
    TLines lines = {"stale=1"}; // the writer starts a fresh list
    profile.WriteParams(lines);
    return lines;
}

// A default profile after loading the given "view-profile" text into it.
TViewProfile Loaded(std::string_view xml) {
    TParsedXml doc(xml);
    TViewProfile profile;
    profile.LoadFromNode(doc.Root());
    return profile;
}

void ExpectDefaults(const TViewProfile& profile) {
    EXPECT_EQ(profile.Mode, 0);
    EXPECT_FALSE(profile.AllowQuestionSkip);
    EXPECT_TRUE(profile.ShowResults);
    EXPECT_TRUE(profile.ShowReport);
    EXPECT_EQ(ParamsOf(profile), DefaultLines);
}

TEST(ViewProfile, DefaultsAndCaptions) {
    TViewProfile profile;
    ExpectDefaults(profile);
    EXPECT_EQ(profile.RepSettings.GetElements().GetCount(), 9);
    const TSOSetElement& first = profile.RunSettings.GetElements().GetItem(0);
    EXPECT_EQ(first.Caption, u"Выводить название секции");
    const TSOSetElement& insectMark = profile.RepSettings.GetElements().GetItem(7);
    EXPECT_EQ(insectMark.Name, u"rep-insect-mark");
    EXPECT_EQ(insectMark.Caption, u"Выводить оценку за секцию");
    EXPECT_THROW(profile.EndSettings.GetElements().GetItem(5), EListError);
}

TEST(ViewProfile, EmptyOrUnrelatedContentKeepsEveryDefault) {
    for (std::string_view xml : {
             "<view-profile/>",
             "<view-profile><!-- c --><other><base-params><test-run-mode>list</test-run-mode>"
             "</base-params><style-params/></other></view-profile>",
         }) {
        SCOPED_TRACE(xml);
        ExpectDefaults(Loaded(xml));
    }
}

TEST(ViewProfile, AnotherElementNameIsRejectedAndChangesNothing) {
    TParsedXml doc("<View-Profile><base-params><test-run-mode>list</test-run-mode></base-params>"
                   "<style-params/></View-Profile>");
    TViewProfile profile;
    EXPECT_THAT([&] { profile.LoadFromNode(doc.Root()); },
                Raises("Документ XML не является документом профиля отображения"));
    ExpectDefaults(profile);
}

TEST(ViewProfile, BaseParamsArePresenceFlagsAndExactModeNames) {
    const TViewProfile flags =
        Loaded("<view-profile><base-params><allow-question-skip>0</allow-question-skip>"
               "<show-results>false</show-results><show-report>no</show-report></base-params>"
               "</view-profile>");
    EXPECT_TRUE(flags.AllowQuestionSkip && flags.ShowResults && flags.ShowReport);
    EXPECT_EQ(ParamsOf(flags).front(), "skipbtn=1");

    const std::pair<const char*, int> modes[] = {
        {"step", 0}, {"list", 1},    {"sepmsg", 2}, {"  sepmsg\n ", 2}, {"Step", 0},
        {"LIST", 0}, {"stepmsg", 0}, {"", 0},       {"sep msg", 0},
    };
    for (const auto& [text, mode] : modes) {
        SCOPED_TRACE(text);
        TParsedXml doc(std::string("<view-profile><base-params><test-run-mode>") + text +
                       "</test-run-mode></base-params></view-profile>");
        TViewProfile profile;
        profile.Mode = 2; // an unknown name must not keep an earlier mode
        profile.LoadFromNode(doc.Root());
        EXPECT_EQ(profile.Mode, mode);
        // Absent presence flags are false, also where the default was true.
        EXPECT_FALSE(profile.AllowQuestionSkip || profile.ShowResults || profile.ShowReport);
        EXPECT_EQ(ParamsOf(profile), DefaultLines); // the flag sets are not touched
    }
}

TEST(ViewProfile, StyleFlagsArePresentDirectChildElements) {
    EXPECT_EQ(ParamsOf(Loaded("<view-profile><style-params/></view-profile>")), FlagsOnlyAt({}));
    EXPECT_EQ(ParamsOf(Loaded("<view-profile><style-params run-time-left=\"1\">"
                              "<rep-mark>0</rep-mark><run-section-name/><g><end-mark/></g>"
                              "<unknown/><!-- rep-right-answer --></style-params>"
                              "</view-profile>")),
              FlagsOnlyAt({1, 15}));
}

TEST(ViewProfile, LaterSectionsOverrideEarlierOnes) {
    const TViewProfile profile =
        Loaded("<view-profile><base-params><allow-question-skip/><show-report/>"
               "<test-run-mode>sepmsg</test-run-mode></base-params>"
               "<style-params><end-mark/><rep-mark/></style-params>"
               "<base-params><show-results/><test-run-mode>list</test-run-mode></base-params>"
               "<style-params><run-time-left/></style-params></view-profile>");
    EXPECT_EQ(profile.Mode, 1);
    EXPECT_FALSE(profile.AllowQuestionSkip || profile.ShowReport);
    EXPECT_TRUE(profile.ShowResults);
    EXPECT_EQ(ParamsOf(profile), FlagsOnlyAt({5}));
}

TEST(ViewProfile, AFlagSetAppendsItsLinesInOrder) {
    TSOViewSettings set;
    set.AddElement(u"first", u"Первый").Enabled = true;
    set.AddElement(u"second", u"Второй");
    TLines lines = {"kept"};
    set.WriteParams(lines);
    EXPECT_EQ(lines, (TLines{"kept", "first=1", "second=0"}));
}

} // namespace
} // namespace stellik::testing
