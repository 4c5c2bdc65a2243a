#include "documents/MarkProfileReader.h"

#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

namespace stellik {

std::unique_ptr<TMarkProfile> ParseMarkProfile(TXpNode element) {
    if (element.NodeName() != u"mark-profile") {
        throw Exception("Документ XML не является документом профиля оценок");
    }
    if (!element.HasChildNodes()) {
        return nullptr;
    }
    auto profile = std::make_unique<TMarkProfile>();
    for (TXpNode child : element.ChildNodes()) {
        if (!child.IsElement()) {
            continue;
        }
        const std::u16string name = child.NodeName();
        if (name == u"for-minimum") {
            profile->DefaultMark = child.GetText();
        } else if (name == u"for-result") {
            const int threshold = StrToInt(Utf16ToUtf8(child.SelectString(u"@value")));
            profile->Elements.Add(threshold, child.GetText());
        }
    }
    return profile;
}

} // namespace stellik
