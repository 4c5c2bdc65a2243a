// shell/gtk/GtkDialogs.cpp
#include "shell/gtk/GtkDialogs.h"

#include "shell/gtk/FileDialog.h"
#include "shell/gtk/GtkHandles.h"

namespace stellik {

namespace {

GtkMessageType MessageType(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Information:
        return GTK_MESSAGE_INFO;
    case TMsgIcon::Warning:
        return GTK_MESSAGE_WARNING;
    case TMsgIcon::Question:
        return GTK_MESSAGE_QUESTION;
    case TMsgIcon::Error:
        return GTK_MESSAGE_ERROR;
    case TMsgIcon::None:
        break;
    }
    return GTK_MESSAGE_OTHER;
}

// The icon of the box's kind; nullptr: none.
const char* IconName(TMsgIcon icon) {
    switch (icon) {
    case TMsgIcon::Information:
        return "dialog-information";
    case TMsgIcon::Warning:
        return "dialog-warning";
    case TMsgIcon::Question:
        return "dialog-question";
    case TMsgIcon::Error:
        return "dialog-error";
    case TMsgIcon::None:
        break;
    }
    return nullptr;
}

// The toolkit's message boxes show their kind's icon only when one is given them; the call
// that gives it is marked old, and there is no other.
void ShowIcon(GtkMessageDialog* dialog, TMsgIcon icon) {
    const char* name = IconName(icon);
    if (name == nullptr) {
        return;
    }
    GtkWidget* image = gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG);
    gtk_widget_show(image);
    GtkMessageType type = GTK_MESSAGE_OTHER;
    g_object_get(dialog, "message-type", &type, nullptr);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_message_dialog_set_image(dialog, image); // the box owns it from now on
    G_GNUC_END_IGNORE_DEPRECATIONS
    // A box given an image counts as one of no kind; it is of its kind still.
    g_object_set(dialog, "message-type", type, nullptr);
}

// Texts break lines with CR LF; a label wants LF alone.
std::string LabelText(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        result += text[i];
    }
    return result;
}

} // namespace

TMsgResult TGtkDialogs::MessageBox(const std::string& text, TMsgButtons buttons, TMsgIcon icon) {
    const bool yesNo = buttons == TMsgButtons::YesNo;
    GtkWidgetPtr dialog(gtk_message_dialog_new(
        Owner, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), MessageType(icon),
        yesNo ? GTK_BUTTONS_YES_NO : GTK_BUTTONS_OK, "%s", LabelText(text).c_str()));
    gtk_window_set_title(GTK_WINDOW(dialog.get()), "Stellik");
    ShowIcon(GTK_MESSAGE_DIALOG(dialog.get()), icon);
    if (yesNo) {
        // Enter gives the answer the question asks for: the results are saved, the run ends.
        gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_YES);
    }
    const gint response = gtk_dialog_run(GTK_DIALOG(dialog.get()));
    if (!yesNo) {
        return TMsgResult::Ok;
    }
    // Closing the box without an answer is the safe answer.
    return response == GTK_RESPONSE_YES ? TMsgResult::Yes : TMsgResult::No;
}

void TGtkDialogs::ShowException(const std::exception& error) {
    MessageBox(error.what(), TMsgButtons::Ok, TMsgIcon::Error);
}

bool TGtkDialogs::ExecuteFileDialog(const TFileDialogOptions& options, std::string& fileName) {
    return stellik::ExecuteFileDialog(Owner, options, fileName);
}

} // namespace stellik
