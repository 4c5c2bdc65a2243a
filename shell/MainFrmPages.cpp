// The page builders of the main window: each builds a page document and shows its HTML.
#include "shell/MainFrm.h"

#include "documents/UserSettings.h"
#include "platform/Unicode.h"
#include "shell/OutputDocument.h"
#include "shell/PageTree.h"

namespace stellik {

namespace {

const std::string PageRestoredMessage =
    "Страница восстановлена после сбоя\r\nОтветы, введенные после последней отправки, "
    "введите заново";

} // namespace

void TMainFrm::ShowRegisterPage() {
    TTransformProcessor& transformer = Transformer();
    const TUserSettings& user = UserSettings();
    transformer.NewDocument();
    TXpOwnedNode root = transformer.PageModel.CreateElement(u"register");
    TXpNode form(root.get());
    for (const auto& [name, value] :
         {std::pair{u"first-name", &user.FirstName}, std::pair{u"last-name", &user.LastName},
          std::pair{u"patronymic", &user.Patronymic},
          std::pair{u"additional-info", &user.AddInfo}}) {
        form.AppendElement(name).AppendTextNode(Utf8ToUtf16(*value));
    }
    transformer.PageModel.Document().AppendChild(std::move(root));
    transformer.ApplyStyle();
    ShowTransformResult();
}

void TMainFrm::ShowTestHeadPage() {
    TTransformProcessor& transformer = Transformer();
    transformer.NewDocument();
    TXpOwnedNode root = transformer.PageModel.CreateElement(u"test-head");
    TXpNode(root.get()).SetAttribute(u"test-name", Utf8ToUtf16(TestName));
    transformer.PageModel.Document().AppendChild(std::move(root));
    transformer.ApplyStyle();
    ShowTransformResult();
}

void TMainFrm::ShowRunPage() {
    TTransformProcessor& transformer = Transformer();
    LoadOutputDocument(transformer.PageModel, TestDoc->GetOutput());
    TXpNode root = transformer.PageModel.DocumentElement();
    root.SetAttribute(u"test-name", Utf8ToUtf16(TestName));
    transformer.Transform(&XslParams);
    ShowTransformResult();
    // A stop page is shown once per run, when the run stops: the moment to save.
    if (!Options->GetResultsPath().empty() && ContainsElement(root, "test-stop")) {
        AutoSaveResults(Options->GetResultsPath());
    }
}

void TMainFrm::ShowLastReport() {
    TTransformProcessor& transformer = Transformer();
    BuildResultsXml(transformer.PageModel);
    transformer.Transform(nullptr); // the parameters of the run pages stay in force
    ShowTransformResult();
}

void TMainFrm::ShowTransformResult() {
    View.LoadHtml(Transformer().HtmlFilter().GetHtml());
    PageShown = true;
}

void TMainFrm::PageLost() {
    if (!PageShown) {
        return; // the first page is still to come, and it brings the view back
    }
    // The last output is the page that was shown: every page goes to the view as it is made.
    ShowTransformResult();
    Dialogs.MessageBox(PageRestoredMessage, TMsgButtons::Ok, TMsgIcon::Warning);
}

} // namespace stellik
