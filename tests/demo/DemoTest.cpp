// The demo test the default player carries: it reads with the program's own reader, its
// settings apply, and it runs to a report in every run mode with every question answered.
#include "documents/ExeTestOptions.h"
#include "documents/TestParser.h"
#include "model/Question.h"
#include "model/TestDoc.h"
#include "platform/Convert.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace stellik::testing {
namespace {

const std::string Demo = STELLIK_SOURCE_DIR "/demo/";

// Typed right answers, by question identifier and answer position.
const std::map<std::string, std::vector<std::string>> TypedAnswers = {
    {"sum", {"42"}},
    {"capital", {"Москва"}},
    {"habitat", {"пустыня", "АНТАРКТИДА", "Арктика"}},
    {"perimeter", {"12"}},
    {"antonym", {"горячий"}},
    {"percent", {"25"}},
    {"circles", {"5"}},
    {"addition", {"9"}},
};

enum TKind { kSingle = 0, kCheck = 1, kText = 2, kNumber = 3, kBox = 4 };

class TDemo {
public:
    TDemo() {
        TTestParserObj parser;
        parser.OnDTDRequest = [](TTestParserObj&, std::u16string& name) {
            name = W(STELLIK_SOURCE_DIR "/resources/") + name;
        };
        TMemoryStream test;
        test.LoadFromFile(Demo + "demo.xml");
        std::string encoding;
        parser.ParseTest(test, Doc, encoding);
        for (const std::u16string& src : parser.PictureNames()) {
            Pictures.push_back(Utf16ToUtf8(src));
        }
        TMemoryStream settings;
        settings.LoadFromFile(Demo + "settings.xml");
        Options.LoadFromStream(settings);
        // As the player applies its settings.
        Doc.MarkProfiles.Add(Options.ReleaseMarkProfile());
        Doc.TestTime = Options.GetTestTime() / 1440.0;
    }

    TTestDoc Doc;
    TExeTestOptions Options;
    std::vector<std::string> Pictures;
};

struct TRunTrace {
    std::vector<std::string> Shown;    // question identifiers, in the order first shown
    std::vector<std::string> Messages; // texts of the message pages
};

// Answers question at index rightly or wrongly (every field filled either way).
void Answer(TTestDoc& doc, int index, bool right) {
    const TQuestion& question = doc.Questions.GetItem(index);
    const std::string id = Utf16ToUtf8(question.Id);
    const int kind = question.GetKindCode();
    bool wrongChosen = false;
    for (int i = 0; i < question.Answers.GetCount(); ++i) {
        std::u16string value;
        if (kind == kSingle || kind == kCheck) {
            const bool marked = IsMarkedRight(question.Answers.GetItem(i));
            if (right ? marked : !marked && !wrongChosen) {
                value.assign(1, u'1');
                wrongChosen = !right;
            }
        } else {
            value = right ? W(TypedAnswers.at(id).at(static_cast<size_t>(i))) : u"-1";
        }
        if (!value.empty()) {
            doc.BufferAnswer(IntToStrW(index), IntToStrW(i), value);
        }
    }
}

// The question position of a '<question-out number="N" id="I">' line.
int QuestionIndexOf(std::u16string_view line) {
    const size_t at = line.find(u" id=\"") + 5;
    return StrToInt(line.substr(at, line.find(u'"', at) - at));
}

// Runs the demo at the given level, answering rightly the questions for which right says so,
// and acknowledging every message page, until the run stops; then writes the report.
TRunTrace RunDemo(TTestDoc& doc, uint8_t mode, int level,
                  const std::function<bool(const std::string&)>& right) {
    TRunTrace trace;
    std::set<std::string> seen;
    doc.StartRun(mode, level);
    for (int page = 0; doc.IsRunning() && page < 100; ++page) {
        const TWideStrings& lines = doc.GetOutput();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == u"<message-out>" && i + 1 < lines.size()) {
                trace.Messages.push_back(Utf16ToUtf8(lines[i + 1]));
            }
            if (!lines[i].starts_with(u"<question-out")) {
                continue;
            }
            const int index = QuestionIndexOf(lines[i]);
            const std::string id = Utf16ToUtf8(doc.Questions.GetItem(index).Id);
            if (seen.insert(id).second) {
                trace.Shown.push_back(id);
            }
            Answer(doc, index, right(id));
        }
        doc.SubmitAnswers();
    }
    doc.WriteReport();
    return trace;
}

bool AllRight(const std::string&) {
    return true;
}

TEST(Demo, ReadsWithTheProgramsReaderAndCarriesWhatTheDemoShows) {
    const TDemo demo;
    EXPECT_EQ(Utf16ToUtf8(demo.Doc.Name), "Демонстрационный тест");
    ASSERT_EQ(demo.Doc.Sections.GetCount(), 3);
    std::set<int> kinds;
    std::set<bool> layouts;
    for (const auto& question : demo.Doc.Questions) {
        kinds.insert(question->GetKindCode());
        layouts.insert(question->FreeLayout);
    }
    EXPECT_EQ(kinds, (std::set<int>{kSingle, kCheck, kText, kNumber, kBox}));
    EXPECT_EQ(layouts, (std::set<bool>{false, true}));
    for (int i = 1; i < 3; ++i) {
        const TSection& section = demo.Doc.Sections.GetItem(i);
        EXPECT_EQ(section.GoodPool.GetCount(), 1) << i;
        EXPECT_EQ(section.MidPool.GetCount(), 1) << i;
        EXPECT_EQ(section.BadPool.GetCount(), 1) << i;
    }
    EXPECT_GE(demo.Doc.Messages.GetCount(), 6);
    ASSERT_GE(demo.Pictures.size(), 2u);
    for (const std::string& picture : demo.Pictures) {
        EXPECT_TRUE(std::filesystem::is_regular_file(Demo + "pictures/" + picture)) << picture;
    }
}

TEST(Demo, SettingsAskForSavingThroughTheDialogAnAdaptiveLevelAndTwentyMinutes) {
    const TDemo demo;
    EXPECT_TRUE(demo.Options.GetSaveResults());
    EXPECT_EQ(demo.Options.GetResultsPath(), "");
    EXPECT_EQ(demo.Options.GetRatingLevel(), -1);
    EXPECT_EQ(demo.Options.GetTestTime(), 20);
    EXPECT_EQ(demo.Options.GetViewProfile().Mode, 2);
    ASSERT_EQ(demo.Doc.MarkProfiles.GetCount(), 1);
    const TMarkProfile& marks = demo.Doc.MarkProfiles.GetItem(0);
    const std::vector<std::pair<int, std::string>> scale = {{0, "2 (неудовлетворительно)"},
                                                            {49, "2 (неудовлетворительно)"},
                                                            {50, "3 (удовлетворительно)"},
                                                            {70, "4 (хорошо)"},
                                                            {84, "4 (хорошо)"},
                                                            {100, "5 (отлично)"}};
    for (const auto& [percent, mark] : scale) {
        EXPECT_EQ(Utf16ToUtf8(marks.GetMark(percent)), mark) << percent;
    }
}

TEST(Demo, RunsToAReportInEveryModeWithEveryQuestionAnswered) {
    for (const uint8_t mode : {0, 1, 2}) {
        TDemo demo;
        const TRunTrace trace = RunDemo(demo.Doc, mode, demo.Options.GetRatingLevel(), AllRight);
        EXPECT_EQ(demo.Doc.GetStopReason(), u"test-end") << int(mode);
        EXPECT_EQ(trace.Shown.size(), 9u) << int(mode); // three per section
        for (const auto& section : demo.Doc.Sections) {
            EXPECT_TRUE(section->Answered) << int(mode);
        }
        EXPECT_EQ(demo.Doc.Rating, demo.Doc.MaxRating) << int(mode);
        EXPECT_EQ(demo.Doc.Percent, 100) << int(mode);
        EXPECT_EQ(Utf16ToUtf8(demo.Doc.Mark), "5 (отлично)") << int(mode);
        EXPECT_EQ(demo.Doc.GetOutput().at(1), u"<test-out mode=\"report\">") << int(mode);
        EXPECT_EQ(trace.Messages.empty(), mode != 2) << int(mode);
    }
}

TEST(Demo, StepWithMessagesCommentsOnQuestionsAndSections) {
    TDemo demo;
    const TRunTrace trace =
        RunDemo(demo.Doc, 2, -1, [](const std::string& id) { return id != "planet"; });
    ASSERT_GE(trace.Messages.size(), 2u);
    EXPECT_EQ(trace.Messages[0], "Неверно: третья планета от Солнца — <b>Земля</b>.");
    EXPECT_EQ(trace.Messages[1], "Верно!");
    EXPECT_NE(std::find(trace.Messages.begin(), trace.Messages.end(),
                        "Раздел пройден с ошибками. Вопросы следующего раздела — среднего уровня."),
              trace.Messages.end());
    EXPECT_EQ(trace.Messages.back(), "Тест окончен. Спасибо за участие!");
}

TEST(Demo, EachSectionsLevelFollowsThePreviousSectionsResult) {
    struct TCase {
        std::set<std::string> right; // answered rightly; every other question wrongly
        const char* nature;          // the level question of the second section
        const char* math;            // the level question of the third section
    };
    const std::vector<TCase> cases = {
        {{"planet", "even", "sum", "capital", "habitat", "lake"}, "lake", "percent"},
        {{"planet", "capital"}, "ocean", "circles"},
        {{}, "season", "addition"},
        {{"capital", "habitat", "season"}, "season", "percent"},
    };
    for (const TCase& c : cases) {
        TDemo demo;
        const TRunTrace trace =
            RunDemo(demo.Doc, 0, -1, [&](const std::string& id) { return c.right.count(id) > 0; });
        ASSERT_EQ(trace.Shown.size(), 9u);
        EXPECT_EQ(trace.Shown[5], c.nature) << c.nature;
        EXPECT_EQ(trace.Shown[8], c.math) << c.math;
    }
    // The list mode has no adaptive level: every section at level 0.
    TDemo demo;
    const TRunTrace trace = RunDemo(demo.Doc, 1, -1, [](const std::string&) { return false; });
    EXPECT_EQ(std::set<std::string>(trace.Shown.begin(), trace.Shown.end()).count("lake"), 1u);
    EXPECT_EQ(Utf16ToUtf8(demo.Doc.Mark), "2 (неудовлетворительно)");
}

TEST(Demo, StopsOnTimeOutAfterTwentyMinutes) {
    TDemo demo;
    demo.Doc.StartRun(2, -1);
    for (int second = 1; second < 20 * 60; ++second) {
        demo.Doc.Tick();
    }
    EXPECT_TRUE(demo.Doc.IsRunning());
    demo.Doc.Tick();
    EXPECT_FALSE(demo.Doc.IsRunning());
    EXPECT_EQ(demo.Doc.GetStopReason(), u"time-out");
}

} // namespace
} // namespace stellik::testing
