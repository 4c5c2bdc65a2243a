// shell/gtk/MainWindow.h -- the program's one window: the HTML view over a status bar
//
// The window turns GTK's events into the window logic's handlers: shown (FormShow), first
// activation after it is on screen (FormActivate), close (FormClose with its placement), the
// one-second timer (Timer1Timer), and the page's links, forms and images. Every failure of a
// handler goes to one standard handler, a message box, and the program goes on.
#pragma once

#include "shell/MainFrm.h"
#include "shell/gtk/GtkDialogs.h"
#include "shell/gtk/GtkHandles.h"
#include "shell/gtk/PageView.h"

#include <gtk/gtk.h>

namespace stellik {

struct TWindowPlacement;

inline constexpr int ClientWidth = 761;
inline constexpr int ClientHeight = 545;
inline constexpr int StatusBarHeight = 19;

class TMainWindow final : public IPageEvents {
public:
    TMainWindow();
    ~TMainWindow() override;
    TMainWindow(const TMainWindow&) = delete;
    TMainWindow& operator=(const TMainWindow&) = delete;

    // The window logic that handles the events from now on (not owned; null: none).
    void Attach(TMainFrm* frm) { Frm = frm; }
    void Show();

    GtkWindow* GetWindow() const { return GTK_WINDOW(Window.get()); }
    GtkWidget* GetStatusBar() const { return StatusBar; }
    TWebPageView& GetView() { return View; }
    TGtkDialogs& GetDialogs() { return Dialogs; }
    // The window logic let the window close; it is hidden and the main loop told to end.
    bool IsClosed() const { return Closed; }
    TWindowPlacement GetPlacement() const;

    // The application's standard exception handler.
    void HandleException(const std::exception& error) noexcept;

    void LinkClicked(const std::string& url) override;
    void FormSubmitted(const std::string& action, const TFormFields& fields) override;
    std::string_view ImageRequested(const std::string& src) override;
    void PageProcessEnded() override;
    void Failed(const std::exception& error) override { HandleException(error); }

private:
    static void OnShow(GtkWidget* widget, gpointer self);
    static gboolean OnMapEvent(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean OnFocusIn(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean OnActivateIdle(gpointer self);
    static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean OnTimer(gpointer self);

    // Runs a handler of the window logic; what it throws goes to the standard handler.
    template <typename THandler> void Guarded(THandler&& handler) noexcept;
    void ScheduleActivate();
    void Close();

    GtkWidgetPtr Window;
    GtkWidget* StatusBar = nullptr; // owned by Window
    TGtkDialogs Dialogs;
    TWebPageView View;
    TMainFrm* Frm = nullptr;
    bool InTimer = false; // a tick (with any box it shows) is still running
    bool Closing = false; // FormClose is running, its questions may be on screen
    bool Closed = false;
    TSourceId ActivateIdle;
    TSourceId Timer;
};

} // namespace stellik
