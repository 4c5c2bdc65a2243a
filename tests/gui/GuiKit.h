// tests/gui/GuiKit.h -- driving a real WebKit view from a test: waiting, scripts, snapshots
#pragma once

#include <webkit2/webkit2.h>

#include <functional>
#include <string>

namespace stellik::testing {

// Initialises GTK on first use (listing the tests needs no display).
void InitGtk();

// Runs the main loop until done() holds; false when timeoutMs passed first.
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Runs the main loop for a while (what must not happen has had its chance).
void RunFor(int milliseconds);

// Answers the dialogs a test opens: every visible top-level dialog goes to the handler, from
// inside the dialog's own loop, once it has been on screen for a moment, and again when it is
// still there long after (its answer did not take).
class TDialogAnswerer {
public:
    explicit TDialogAnswerer(std::function<void(GtkWindow*)> handler);
    ~TDialogAnswerer();
    TDialogAnswerer(const TDialogAnswerer&) = delete;
    TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

    int Answered() const { return Count; } // dialogs, each counted once

private:
    static gboolean OnPoll(gpointer self);

    std::function<void(GtkWindow*)> Handler;
    int Count = 0;
    guint Source = 0;
};

// The text of a message dialog (its primary text).
std::string MessageText(GtkWindow* dialog);
// The name of the icon a message dialog shows; empty: none.
std::string MessageIcon(GtkWindow* dialog);

// A key pressed and released on the keyboard while widget's window has the focus.
void PressKey(GtkWidget* widget, guint keyval);

// Watches one web view: counts its finished loads, runs scripts in its page and saves
// pictures of it.
class TViewDriver {
public:
    explicit TViewDriver(WebKitWebView* view);
    ~TViewDriver();
    TViewDriver(const TViewDriver&) = delete;
    TViewDriver& operator=(const TViewDriver&) = delete;

    int FinishedLoads() const { return Finished; }
    // Waits until the view has finished count loads in all; false on time-out.
    bool WaitForLoads(int count, int timeoutMs = 10000);
    // Waits for one more finished load than seen so far when called.
    bool WaitForNextLoad(int timeoutMs = 10000) { return WaitForLoads(Finished + 1, timeoutMs); }

    // The script's value as text ("" for undefined); a script that throws fails the test.
    std::string Eval(const std::string& script);
    std::string PageText() { return Eval("document.body ? document.body.innerText : ''"); }
    // Events dispatched in the page, as a user's click or typing gives them.
    void Click(const std::string& selector);
    void Type(const std::string& selector, const std::string& text);
    // A PNG of the visible page in the build's gui-snapshots folder (and of the whole page
    // when it is longer than the view).
    void Snapshot(const std::string& name);

private:
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static gboolean OnLoadFailed(WebKitWebView* view, WebKitLoadEvent event, gchar* uri,
                                 GError* error, gpointer self);
    void SaveSnapshot(WebKitSnapshotRegion region, const std::string& path);

    WebKitWebView* View; // not owned
    int Finished = 0;
    bool Failed = false; // the load under way failed: its end is no page
};

} // namespace stellik::testing
