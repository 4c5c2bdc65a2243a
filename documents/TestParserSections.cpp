// The "selector" element: sections and their question pools.
#include "documents/ReaderText.h"
#include "documents/TestParser.h"

#include "model/TestDoc.h"
#include "model/TextUtils.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

namespace stellik {

namespace {

// The fields of a section that one pool element fills.
struct TPoolFields {
    TIntegerList& Pool;
    int& Requested;
    bool& Random;
};

TPoolFields PoolOf(TSection& section, int kind) {
    switch (kind) {
    case ResultGood:
        return {section.GoodPool, section.GoodRequested, section.GoodRandom};
    case ResultMiddle:
        return {section.MidPool, section.MidRequested, section.MidRandom};
    case ResultBad:
        return {section.BadPool, section.BadRequested, section.BadRandom};
    default:
        return {section.AllPool, section.AllRequested, section.AllRandom};
    }
}

// Pool element names and the result kind each stands for; -2 for any other name.
int PoolKindOf(TXpNode element) {
    if (element.NameIs("allout")) {
        return ResultAll;
    }
    if (element.NameIs("goodout")) {
        return ResultGood;
    }
    if (element.NameIs("midlout")) {
        return ResultMiddle;
    }
    if (element.NameIs("badout")) {
        return ResultBad;
    }
    return -2;
}

} // namespace

void TTestParserObj::ReadSelector() {
    SectionIds.clear();
    for (int i = 0; i < TestDoc->Sections.GetCount(); ++i) {
        if (const std::u16string& id = TestDoc->Sections.GetItem(i).Id; !id.empty()) {
            SectionIds.insert(id);
        }
    }
    for (TXpNode child = SelectorNode.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.NameIs("section")) {
            ReadSection(*TestDoc->AddSection(-1), child);
        }
    }
}

void TTestParserObj::ReadSection(TSection& section, TXpNode element) {
    for (TXpNode attribute = element.AttributeAt(0); attribute;
         attribute = attribute.NextSibling()) {
        if (attribute.NameIs("id")) {
            const std::u16string id = TakeIdentifier(attribute.NodeValueUtf8(), SectionIds,
                                                     "Идентификаторы секций должны быть уникальны");
            if (!id.empty()) {
                section.Id = id;
            }
        }
    }
    for (TXpNode child = element.FirstChild(); child; child = child.NextSibling()) {
        if (!child.IsElement()) {
            continue;
        }
        if (child.NameIs("name")) {
            section.Name = TrimW(NormalizeSpaces(child.GetSpacedText()));
        } else if (const int kind = PoolKindOf(child); kind != -2) {
            ReadSectionQuestions(kind, child, section);
        }
    }
}

void TTestParserObj::ReadSectionQuestions(int kind, TXpNode element, TSection& section) {
    const TPoolFields fields = PoolOf(section, kind);
    for (TXpNode attribute = element.AttributeAt(0); attribute;
         attribute = attribute.NextSibling()) {
        if (attribute.NameIs("idref")) {
            IdsParser.Parse(attribute.NodeValueUtf8());
            for (const std::string& ref : IdsParser.GetIds()) {
                const int index = QuestionRefs().IndexOfRef(ref);
                if (index < 0) {
                    throw Exception(WithElementXml("Вопрос с id=" + ref + " не найден", element));
                }
                fields.Pool.Add(index);
            }
        }
        if (attribute.NameIs("count")) {
            const std::optional<int> count = TryStrToInt(attribute.NodeValueUtf8());
            if (!count) {
                throw Exception(WithElementXml("Значение параметра должно быть числом", element));
            }
            fields.Requested = *count;
        }
        if (attribute.NameIs("random")) {
            fields.Random = attribute.NodeValueUtf8() == "y";
        }
    }
}

} // namespace stellik
