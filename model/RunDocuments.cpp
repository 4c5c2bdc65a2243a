// model/RunDocuments.cpp -- the run and report documents, one tag or value per line
#include "model/TestDoc.h"

#include "platform/Convert.h"

namespace stellik {

namespace {

const char16_t* const XmlDeclaration = u"<?xml version=\"1.0\" encoding=\"utf-16\" ?>";

std::u16string TwoDigits(int value) {
    std::u16string text = IntToStrW(value);
    return value < 10 ? u"0" + text : text;
}

// "<name>", value, "</name>" as three lines.
void WriteElement(TWideStrings& list, const std::u16string& name, const std::u16string& value) {
    list.push_back(u"<" + name + u">");
    list.push_back(value);
    list.push_back(u"</" + name + u">");
}

void WriteCounts(TWideStrings& list, const char16_t* name, int count, int answered) {
    list.push_back(u"<" + std::u16string(name) + u">");
    WriteElement(list, u"count", IntToStrW(count));
    WriteElement(list, u"answered", IntToStrW(answered));
    list.push_back(u"</" + std::u16string(name) + u">");
}

} // namespace

void TTestDoc::WriteDate(const std::u16string& name, TWideStrings& list, TDateTime date) {
    const TDateParts parts = DecodeDate(date);
    list.push_back(u"<" + name + u">");
    WriteElement(list, u"day", TwoDigits(parts.Day));
    WriteElement(list, u"month", TwoDigits(parts.Month));
    WriteElement(list, u"year", IntToStrW(parts.Year));
    list.push_back(u"</" + name + u">");
}

void TTestDoc::WriteTime(const std::u16string& name, TWideStrings& list, TDateTime time) {
    const TTimeParts parts = DecodeTime(time); // the part below one day: whole days are lost
    list.push_back(u"<" + name + u">");
    WriteElement(list, u"hour", TwoDigits(parts.Hour));
    WriteElement(list, u"min", TwoDigits(parts.Minute));
    WriteElement(list, u"sec", TwoDigits(parts.Second));
    list.push_back(u"</" + name + u">");
}

void TTestDoc::WriteOwnSummary(TWideStrings& lines) const {
    lines.push_back(u"<begin>");
    WriteDate(u"date", lines, StartTime);
    WriteTime(u"time", lines, StartTime);
    lines.push_back(u"</begin>");
    WriteCounts(lines, u"sections", Sections.GetCount(), AnsweredSections);
    WriteCounts(lines, u"questions", PlannedQuestions, AnsweredQuestions);
    lines.push_back(u"<test-time>");
    if (TestTime > 0) {
        WriteTime(u"total", lines, TestTime);
    }
    WriteTime(u"pass", lines, PassTime);
    if (TestTime > 0) {
        WriteTime(u"left", lines, LeftTime);
    }
    lines.push_back(u"</test-time>");
}

void TTestDoc::WriteRunDocument() {
    if (!OutManager) {
        return; // no run yet: there is no page and no mode to write
    }
    TWideStrings head;
    head.reserve(96);
    head.emplace_back(XmlDeclaration);
    head.push_back(u"<test-out mode=\"" + std::u16string(OutManager->GetModeName()) + u"\">");
    WriteSummary(head);
    if (OutManager->IsFinished()) {
        SetStopReason(u"test-end");
    }
    if (Running) {
        // The page stays where it is written: a list page of many questions is not copied.
        OutManager->ShowPageIn(Output, head);
    } else {
        OutManager->TakePageBack();
        Output = std::move(head);
        Output.emplace_back(u"<test-stop>");
        Output.push_back(u"<" + StopReason + u"/>");
        Output.emplace_back(u"</test-stop>");
    }
    Output.emplace_back(u"</test-out>");
}

void TTestDoc::WriteReport() {
    if (!Started) {
        return;
    }
    for (int i = 0; i < Questions.GetCount(); ++i) {
        Questions.GetItem(i).ShowRight = ShowRight;
    }
    if (OutManager) {
        OutManager->TakePageBack(); // the page may stand in Output
    }
    Output.clear();
    Output.emplace_back(XmlDeclaration);
    Output.emplace_back(u"<test-out mode=\"report\">");
    WriteElement(Output, u"test-stop-reason", StopReason);
    WriteSummary(Output);
    for (int i = 0; i < Sections.GetCount(); ++i) {
        const TSection& section = Sections.GetItem(i);
        if (section.GetAnsweredCount() <= 0) {
            continue;
        }
        section.WriteSectionStart(Output);
        for (const TQuestion* question : section.Questions) {
            if (question->Answered) {
                question->WriteQuestionOut(Output);
            }
        }
        section.WriteSectionEnd(Output);
    }
    Output.emplace_back(u"</test-out>");
}

} // namespace stellik
