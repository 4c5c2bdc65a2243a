// shell/ViewInterfaces.h -- what the window logic needs of the screen
//
// The window logic talks to the HTML view and to the dialogs only through these, so that
// every flow runs without a display against a recording fake; shell/gtk/ implements them.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stellik {

// A form field as submitted: name and value, UTF-8 bytes.
using TFormFields = std::vector<std::pair<std::string, std::string>>;

class IPageView {
public:
    virtual ~IPageView() = default;
    // Shows a whole new page (UTF-8 HTML); its images are asked for again.
    virtual void LoadHtml(std::string_view html) = 0;
    // The image element with this identifier asks for its picture again at once, without
    // reloading the page; an identifier without an image is ignored.
    virtual void ReplaceImage(const std::string& elementId) = 0;
    // Hands a link that is no command to the desktop's handler; the page stays.
    virtual void OpenExternal(const std::string& url) = 0;
};

enum class TMsgButtons { Ok, YesNo };
enum class TMsgIcon { None, Information, Warning, Question, Error };
enum class TMsgResult { Ok, Yes, No };

// The parameters of the open and save dialogs, as the program passes them.
struct TFileDialogOptions {
    std::string DefaultExt; // appended to a name typed without one (leading dot included)
    std::string Filter;     // descriptions and patterns alternating, separated by "|"
    std::string InitialDir; // empty: the system's choice
    std::string Title;      // empty: the default caption
    bool FileMustExist = false;
    bool OverwritePrompt = false;
    bool NoChangeDir = false;
    bool OpenDialog = false; // false: a save dialog
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A message box titled with the window caption "Stellik".
    virtual TMsgResult MessageBox(const std::string& text, TMsgButtons buttons, TMsgIcon icon) = 0;
    // The application's standard exception handler: a message box with the text.
    virtual void ShowException(const std::exception& error) = 0;
    // fileName in: the proposed name; out: the chosen path, only when confirmed (true).
    virtual bool ExecuteFileDialog(const TFileDialogOptions& options, std::string& fileName) = 0;
};

} // namespace stellik
