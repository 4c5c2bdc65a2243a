#include "KindTestSupport.h"

#include "model/QBox.h"
#include "model/QCheck.h"
#include "model/QNumber.h"
#include "model/QRadio.h"
#include "model/QText.h"
#include "model/QuestionManager.h"

namespace stellik::testing {
namespace {

std::unique_ptr<TQuestion> MakeOther() {
    return std::make_unique<TCheckQuest>();
}

TEST(QuestionManager, LastRegistrationWinsAndUnknownCodesGiveNone) {
    TQuestionManager manager;
    manager.RegisterQuestion(&TRadioQuest::Create, 0);
    manager.RegisterQuestion(&TBoxQuest::Create, 4);
    manager.RegisterQuestion(&MakeOther, 0);
    EXPECT_EQ(manager.ClassForKind(0), &MakeOther);
    EXPECT_EQ(manager.ClassForKind(4), &TBoxQuest::Create);
    EXPECT_EQ(manager.ClassForKind(1), nullptr);
    // Names come from the classes: the last one registered under a name gives its code.
    EXPECT_EQ(manager.KindCodeOf("box"), 4);
    EXPECT_EQ(manager.KindCodeOf("check"), 0);
    EXPECT_EQ(manager.KindCodeOf("single"), 0);
    EXPECT_EQ(manager.KindCodeOf("text"), -1);
    EXPECT_EQ(manager.KindCodeOf("Box"), -1);
}

TEST(QuestionManager, StartUpRegistersTheFiveKindsOnce) {
    RegisterQuestionKinds();
    const char* names[] = {"single", "check", "text", "number", "box"};
    for (int code = 0; code < 5; ++code) {
        const auto create = QuestionManager().ClassForKind(code);
        ASSERT_NE(create, nullptr) << code;
        const std::unique_ptr<TQuestion> question = create();
        EXPECT_EQ(question->GetKindCode(), code);
        EXPECT_EQ(question->GetKindName(), W(names[code]));
        EXPECT_EQ(QuestionManager().KindCodeOf(names[code]), code);
        // The kind's own answer class, and input extras for the box kind only.
        const std::unique_ptr<TAnswer> answer = question->CreateAnswer();
        EXPECT_EQ(dynamic_cast<TTextAnswer*>(answer.get()) != nullptr, code == 2);
        EXPECT_EQ(dynamic_cast<TNumberAnswer*>(answer.get()) != nullptr, code == 3);
        TWideStrings lines{u"kept"};
        EXPECT_FALSE(question->GetInputAttrs(lines));
        EXPECT_EQ(question->GetInputContent(lines), code == 4);
    }
    EXPECT_EQ(QuestionManager().ClassForKind(5), nullptr);

    // A second start-up call registers nothing over a later registration.
    QuestionManager().RegisterQuestion(&MakeOther, 0);
    RegisterQuestionKinds();
    EXPECT_EQ(QuestionManager().ClassForKind(0), &MakeOther);
    QuestionManager().RegisterQuestion(&TRadioQuest::Create, 0);
}

} // namespace
} // namespace stellik::testing
