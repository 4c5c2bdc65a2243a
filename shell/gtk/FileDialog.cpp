// shell/gtk/FileDialog.cpp
#include "shell/gtk/FileDialog.h"

#include "shell/gtk/FileDialogRules.h"
#include "shell/gtk/GtkHandles.h"

namespace stellik {

namespace {

// The toolkit's own wording, in the user's language, so that our additions to its dialog
// read like the rest of it.
const char* ToolkitText(const char* text) {
    return g_dgettext("gtk30", text);
}

// The toolkit's "%s" message with value in its place.
std::string FormatToolkitText(const char* format, const char* value) {
    std::string text = ToolkitText(format);
    if (const size_t at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, value);
    }
    return text;
}

std::string DefaultTitle(bool openDialog) {
    std::string label = openDialog ? g_dpgettext2("gtk30", "Stock label", "_Open")
                                   : g_dpgettext2("gtk30", "Stock label", "Save _As");
    std::erase(label, '_'); // the mnemonic marker
    return label;
}

void AddFilters(GtkFileChooser* chooser, const std::string& filter) {
    for (const TFileFilterEntry& entry : ParseFileFilter(filter)) {
        GtkFileFilter* fileFilter = gtk_file_filter_new(); // owned by the chooser once added
        gtk_file_filter_set_name(fileFilter, entry.Description.c_str());
        for (const std::string& pattern : entry.Patterns) {
            gtk_file_filter_add_pattern(fileFilter, ChooserPattern(pattern).c_str());
        }
        gtk_file_chooser_add_filter(chooser, fileFilter);
    }
}

void ProposeName(GtkFileChooser* chooser, const std::string& fileName, bool openDialog) {
    if (fileName.empty()) {
        return;
    }
    if (openDialog || g_path_is_absolute(fileName.c_str())) {
        gtk_file_chooser_set_filename(chooser, fileName.c_str());
    }
    if (!openDialog) {
        GCharPtr baseName(g_path_get_basename(fileName.c_str()));
        gtk_file_chooser_set_current_name(chooser, baseName.get());
    }
}

// The chooser's own question, for a name it did not ask about itself: one the default
// extension made, or one its entry completed after it had checked the typed text.
bool ConfirmReplace(GtkWindow* chooser, const std::string& path) {
    GCharPtr baseName(g_filename_display_basename(path.c_str()));
    GCharPtr folder(g_path_get_dirname(path.c_str()));
    GCharPtr folderName(g_filename_display_basename(folder.get()));
    GtkWidgetPtr dialog(gtk_message_dialog_new(
        chooser, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s",
        FormatToolkitText("A file named “%s” already exists.  Do you want to replace it?",
                          baseName.get())
            .c_str()));
    GtkMessageDialog* message = GTK_MESSAGE_DIALOG(dialog.get());
    gtk_message_dialog_format_secondary_text(
        message, "%s",
        FormatToolkitText("The file already exists in “%s”.  Replacing it will overwrite its "
                          "contents.",
                          folderName.get())
            .c_str());
    GtkDialog* asDialog = GTK_DIALOG(dialog.get());
    gtk_dialog_add_button(asDialog, ToolkitText("_Cancel"), GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(asDialog, ToolkitText("_Replace"), GTK_RESPONSE_ACCEPT);
    gtk_dialog_set_default_response(asDialog, GTK_RESPONSE_ACCEPT);
    return gtk_dialog_run(asDialog) == GTK_RESPONSE_ACCEPT;
}

// Remembers the path the chooser asked about itself and lets it ask.
GtkFileChooserConfirmation OnConfirmOverwrite(GtkFileChooser* chooser, gpointer askedPath) {
    GCharPtr path(gtk_file_chooser_get_filename(chooser));
    *static_cast<std::string*>(askedPath) = path ? path.get() : "";
    return GTK_FILE_CHOOSER_CONFIRMATION_CONFIRM;
}

// The chosen path when it may be taken, empty when the dialog has to stay open.
std::string AcceptedPath(GtkFileChooser* chooser, const TFileDialogOptions& options,
                         const std::string& askedPath) {
    GCharPtr chosen(gtk_file_chooser_get_filename(chooser));
    if (!chosen) {
        return {};
    }
    const std::string path = WithDefaultExt(chosen.get(), options.DefaultExt);
    const bool exists = g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
    if (options.FileMustExist && !exists) {
        return {};
    }
    if (exists && options.OverwritePrompt && !options.OpenDialog && path != askedPath &&
        !ConfirmReplace(GTK_WINDOW(chooser), path)) {
        return {};
    }
    return path;
}

} // namespace

bool ExecuteFileDialog(GtkWindow* owner, const TFileDialogOptions& options, std::string& fileName) {
    if (!ProposedNameFits(fileName)) {
        return false;
    }
    const std::string title =
        options.Title.empty() ? DefaultTitle(options.OpenDialog) : options.Title;
    const GtkFileChooserAction action =
        options.OpenDialog ? GTK_FILE_CHOOSER_ACTION_OPEN : GTK_FILE_CHOOSER_ACTION_SAVE;
    GtkWidgetPtr dialog(gtk_file_chooser_dialog_new(
        title.c_str(), owner, action, ToolkitText("_Cancel"), GTK_RESPONSE_CANCEL,
        options.OpenDialog ? ToolkitText("_Open") : ToolkitText("_Save"), GTK_RESPONSE_ACCEPT,
        nullptr));
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.get());
    gtk_dialog_set_default_response(GTK_DIALOG(dialog.get()), GTK_RESPONSE_ACCEPT);
    gtk_window_set_modal(GTK_WINDOW(dialog.get()), TRUE);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    gtk_file_chooser_set_do_overwrite_confirmation(chooser,
                                                   options.OverwritePrompt && !options.OpenDialog);
    std::string askedPath;
    g_signal_connect(chooser, "confirm-overwrite", G_CALLBACK(&OnConfirmOverwrite), &askedPath);
    AddFilters(chooser, options.Filter);
    if (!options.InitialDir.empty()) {
        gtk_file_chooser_set_current_folder(chooser, options.InitialDir.c_str());
    }
    ProposeName(chooser, fileName, options.OpenDialog);

    while (gtk_dialog_run(GTK_DIALOG(dialog.get())) == GTK_RESPONSE_ACCEPT) {
        std::string path = AcceptedPath(chooser, options, askedPath);
        askedPath.clear();
        if (!path.empty()) {
            fileName = std::move(path);
            return true;
        }
    }
    return false;
}

} // namespace stellik
