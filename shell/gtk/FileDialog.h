// shell/gtk/FileDialog.h -- the open and save dialogs on the GTK file chooser
#pragma once

#include "shell/ViewInterfaces.h"

#include <gtk/gtk.h>

#include <string>

namespace stellik {

// Shows a modal open or save dialog over owner (may be null). fileName in: the proposed name;
// out: the chosen path, only when the user confirmed (true). A cancelled dialog, and a proposed
// name longer than MaxProposedNameLength characters (refused before any dialog opens), give
// false and leave fileName as it was.
bool ExecuteFileDialog(GtkWindow* owner, const TFileDialogOptions& options, std::string& fileName);

} // namespace stellik
