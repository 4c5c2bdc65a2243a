#include "shell/ResultsDocument.h"

#include "platform/Unicode.h"

#include <utility>

namespace stellik {

void MakeResultsDocument(TXpObjModel& model, const TUserSettings& user,
                         const std::string& testName) {
    TXpNode root = model.DocumentElement();
    root.Rename(u"test-results");
    root.RemoveAttribute(u"mode");

    TXpOwnedNode userElement = model.CreateElement(u"user");
    TXpNode userNode(userElement.get());
    for (const auto& [name, value] :
         {std::pair{u"first-name", &user.FirstName}, std::pair{u"last-name", &user.LastName},
          std::pair{u"patronymic-name", &user.Patronymic},
          std::pair{u"additional-info", &user.AddInfo}}) {
        userNode.AppendElement(name).AppendTextNode(Utf8ToUtf16(*value));
    }
    TXpOwnedNode testElement = model.CreateElement(u"test");
    TXpNode(testElement.get()).AppendTextNode(Utf8ToUtf16(testName));

    TXpNode summary; // null: append
    for (TXpNode child = root.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.NodeName() == u"summary") {
            summary = child;
            break;
        }
    }
    root.InsertBefore(std::move(userElement), summary);
    root.InsertBefore(std::move(testElement), summary);
}

} // namespace stellik
