// shell/gtk/GtkDialogs.h -- message boxes, the exception handler and the file dialogs
#pragma once

#include "shell/ViewInterfaces.h"

#include <gtk/gtk.h>

namespace stellik {

// Every box is modal over the owner window and titled "Stellik".
class TGtkDialogs final : public IDialogs {
public:
    void SetOwner(GtkWindow* owner) { Owner = owner; }

    TMsgResult MessageBox(const std::string& text, TMsgButtons buttons, TMsgIcon icon) override;
    // An error box with the exception's text; the program goes on.
    void ShowException(const std::exception& error) override;
    bool ExecuteFileDialog(const TFileDialogOptions& options, std::string& fileName) override;

private:
    GtkWindow* Owner = nullptr; // not owned
};

} // namespace stellik
