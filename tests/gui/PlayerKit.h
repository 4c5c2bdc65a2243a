// tests/gui/PlayerKit.h -- the player in the test's own process, with the built resources
#pragma once

#include "shell/gtk/StellikApp.h"
#include "tests/gui/GuiKit.h"

#include <memory>
#include <string>
#include <vector>

namespace stellik::testing {

// The player the build made (the demo test).
std::string BuiltPlayer();
// A copy of the built player carrying the demo test with the demo settings changed by
// replacing the text from with to (e.g. another run mode); written into folder.
std::string DemoPlayerWith(const std::string& folder, const std::string& from,
                           const std::string& to);

// One field of the page's forms, as a user sees it.
struct TPageField {
    std::string Name;
    std::string Type;                 // "radio", "checkbox", "text", "select-one", "submit", ...
    std::string Value;                // the value attribute (a button's caption)
    std::vector<std::string> Options; // the choices of a selection list
};

// The player's window, window logic and service modules made as the program makes them, over
// the resources of the given player file, with a driver for its view.
class TPlayer {
public:
    explicit TPlayer(const std::string& playerFile);
    ~TPlayer();

    TStellikApp& App() { return *Application; }
    TMainFrm& Frame() { return Application->GetMainFrm(); }
    TViewDriver& View() { return *Driver; }

    // Shows the window and waits for the first page.
    void Start();
    // Every form field of the page, in page order.
    std::vector<TPageField> Fields();
    // Runs action (a click) and waits for the page it brings.
    void AndWaitForPage(const std::function<void()>& action);
    // The first element matching selector is clicked and the next page awaited.
    void ClickForPage(const std::string& selector);

private:
    std::unique_ptr<TStellikApp> Application;
    std::unique_ptr<TViewDriver> Driver;
};

} // namespace stellik::testing
