#include "documents/ViewProfiles.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <string_view>

namespace stellik {

namespace {

enum class TFlagSet { Run, End, Rep };

struct TFlagDefault {
    TFlagSet Set;
    const char* Name;
    const char* Caption;
    bool Enabled;
};

// Every flag a profile starts with, in parameter-line order.
constexpr TFlagDefault FlagDefaults[] = {
    {TFlagSet::Run, "run-section-name", "Выводить название секции", false},
    {TFlagSet::Run, "run-question-info", "Информация о пройденных вопросах", true},
    {TFlagSet::Run, "run-section-info", "Информация о пройденных секциях", false},
    {TFlagSet::Run, "run-rating-info", "Информация о набранных баллах", true},
    {TFlagSet::Run, "run-time-left", "Информация об оставшемся времени", true},
    {TFlagSet::End, "end-question-info", "Информация о пройденных вопросах", true},
    {TFlagSet::End, "end-section-info", "Информация о пройденных секциях", false},
    {TFlagSet::End, "end-rating-info", "Информация о набранных баллах", true},
    {TFlagSet::End, "end-time-info", "Информация о затраченном времени", true},
    {TFlagSet::End, "end-mark", "Выводить оценку", true},
    {TFlagSet::Rep, "rep-question-info", "Информация о пройденных вопросах", true},
    {TFlagSet::Rep, "rep-section-info", "Информация о пройденных секциях", false},
    {TFlagSet::Rep, "rep-rating-info", "Информация о набранных баллах", true},
    {TFlagSet::Rep, "rep-time-info", "Информация о затраченном времени", true},
    {TFlagSet::Rep, "rep-mark", "Выводить оценку", true},
    {TFlagSet::Rep, "rep-insect-question-info", "Информация о пройденных вопросах в секции", false},
    {TFlagSet::Rep, "rep-insect-rating-info", "Информация о набранных баллах за секцию", false},
    {TFlagSet::Rep, "rep-insect-mark", "Выводить оценку за секцию", false},
    {TFlagSet::Rep, "rep-right-answer", "Выводить правильные ответы", true},
};

bool IsElementNamed(TXpNode node, std::u16string_view name) {
    return node.IsElement() && node.NodeName() == name;
}

} // namespace

TSOSetElement& TSOViewSettings::AddElement(const std::u16string& name,
                                           const std::u16string& caption) {
    auto element = std::make_unique<TSOSetElement>();
    element->Name = name;
    element->Caption = caption;
    return Elements.GetItem(Elements.Add(std::move(element)));
}

void TSOViewSettings::LoadFlags(TXpNode element) {
    for (int i = 0; i < Elements.GetCount(); ++i) {
        TSOSetElement& flag = Elements.GetItem(i);
        flag.Enabled = element.SelectBoolean(flag.Name);
    }
}

void TSOViewSettings::WriteParams(std::vector<std::string>& params) const {
    for (int i = 0; i < Elements.GetCount(); ++i) {
        const TSOSetElement& flag = Elements.GetItem(i);
        params.push_back(Utf16ToUtf8(flag.Name) + (flag.Enabled ? "=1" : "=0"));
    }
}

TViewProfile::TViewProfile() {
    for (const TFlagDefault& flag : FlagDefaults) {
        TSOViewSettings& set = flag.Set == TFlagSet::Run   ? RunSettings
                               : flag.Set == TFlagSet::End ? EndSettings
                                                           : RepSettings;
        set.AddElement(W(flag.Name), W(flag.Caption)).Enabled = flag.Enabled;
    }
}

void TViewProfile::LoadFromNode(TXpNode node) {
    if (node.NodeName() != u"view-profile") {
        throw Exception("Документ XML не является документом профиля отображения");
    }
    // Every occurrence is read in document order, so a later one overrides an earlier one.
    for (TXpNode child : node.ChildNodes()) {
        if (IsElementNamed(child, u"base-params")) {
            LoadBaseParams(child);
        } else if (IsElementNamed(child, u"style-params")) {
            RunSettings.LoadFlags(child);
            EndSettings.LoadFlags(child);
            RepSettings.LoadFlags(child);
        }
    }
}

void TViewProfile::LoadBaseParams(TXpNode element) {
    AllowQuestionSkip = element.SelectBoolean(u"allow-question-skip");
    ShowResults = element.SelectBoolean(u"show-results");
    ShowReport = element.SelectBoolean(u"show-report");
    // Exact names only; anything else, or no mode at all, is step mode.
    const std::u16string mode = element.SelectString(u"test-run-mode");
    Mode = RunModeStep;
    if (mode == u"list") {
        Mode = RunModeList;
    } else if (mode == u"sepmsg") {
        Mode = RunModeStepMsg;
    }
}

void TViewProfile::WriteParams(std::vector<std::string>& params) const {
    params.clear();
    params.push_back(AllowQuestionSkip ? "skipbtn=1" : "skipbtn=0");
    RunSettings.WriteParams(params);
    EndSettings.WriteParams(params);
    RepSettings.WriteParams(params);
}

} // namespace stellik
