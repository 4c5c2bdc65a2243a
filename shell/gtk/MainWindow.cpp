// shell/gtk/MainWindow.cpp
#include "shell/gtk/MainWindow.h"

#include "documents/SettingsObj.h"
#include "shell/gtk/Guarded.h"

namespace stellik {

namespace {

// The window's own font; a line parts the status bar from the page.
constexpr const char* WindowStyle = R"CSS(
window { font: 8pt "Tahoma"; }
.stellik-status-bar { border-top: 1px solid alpha(black, 0.15); }
)CSS";

void AddStyle(GtkWidget* widget, GtkCssProvider* provider) {
    gtk_style_context_add_provider(gtk_widget_get_style_context(widget),
                                   GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

} // namespace

TMainWindow::TMainWindow() : Window(gtk_window_new(GTK_WINDOW_TOPLEVEL)), View(*this) {
    GtkWindow* window = GetWindow();
    gtk_window_set_title(window, "Stellik");
    gtk_window_set_default_size(window, ClientWidth, ClientHeight);
    Dialogs.SetOwner(window);

    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(column), View.GetWidget(), TRUE, TRUE, 0);
    // Nothing writes to the status bar, so it is a plain strip: the toolkit's own keeps room
    // round a text line and cannot be made 19 pixels high.
    StatusBar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_style_context_add_class(gtk_widget_get_style_context(StatusBar), "stellik-status-bar");
    gtk_widget_set_size_request(StatusBar, -1, StatusBarHeight);
    gtk_box_pack_end(GTK_BOX(column), StatusBar, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(window), column);

    GObjectPtr<GtkCssProvider> style = AdoptObject(gtk_css_provider_new());
    gtk_css_provider_load_from_data(style.get(), WindowStyle, -1, nullptr);
    AddStyle(Window.get(), style.get());
    AddStyle(StatusBar, style.get());

    g_signal_connect(window, "show", G_CALLBACK(&OnShow), this);
    g_signal_connect(window, "map-event", G_CALLBACK(&OnMapEvent), this);
    g_signal_connect(window, "focus-in-event", G_CALLBACK(&OnFocusIn), this);
    g_signal_connect(window, "delete-event", G_CALLBACK(&OnDeleteEvent), this);
    Timer = g_timeout_add(1000, &OnTimer, this);
}

TMainWindow::~TMainWindow() {
    Timer.Remove();
    ActivateIdle.Remove();
    g_signal_handlers_disconnect_by_data(Window.get(), this);
}

void TMainWindow::Show() {
    gtk_widget_show_all(Window.get());
}

TWindowPlacement TMainWindow::GetPlacement() const {
    TWindowPlacement placement;
    gtk_window_get_position(GetWindow(), &placement.Left, &placement.Top);
    gtk_window_get_size(GetWindow(), &placement.Width, &placement.Height);
    placement.Maximized = gtk_window_is_maximized(GetWindow());
    return placement;
}

void TMainWindow::HandleException(const std::exception& error) noexcept {
    RunGuarded([&] { Dialogs.ShowException(error); },
               [](const std::exception&) {
                   // The box itself could not be shown; nothing more can be done for this event.
               });
}

template <typename THandler> void TMainWindow::Guarded(THandler&& handler) noexcept {
    RunGuarded(std::forward<THandler>(handler),
               [this](const std::exception& error) { Dialogs.ShowException(error); });
}

void TMainWindow::LinkClicked(const std::string& url) {
    if (Frm != nullptr) {
        Frm->ExecuteLink(url, nullptr);
    }
}

void TMainWindow::FormSubmitted(const std::string& action, const TFormFields& fields) {
    if (Frm != nullptr) {
        Frm->ExecuteLink(action, &fields);
    }
}

void TMainWindow::PageProcessEnded() {
    if (Frm != nullptr && !Closed) {
        Frm->PageLost();
    }
}

std::string_view TMainWindow::ImageRequested(const std::string& src) {
    return Frm != nullptr ? Frm->HTMLViewer1ImageRequest(src).View() : std::string_view();
}

void TMainWindow::OnShow(GtkWidget*, gpointer self) {
    auto* window = static_cast<TMainWindow*>(self);
    window->Guarded([window] {
        if (window->Frm != nullptr) {
            window->Frm->FormShow();
        }
    });
}

// The first activation loads the test, which takes a moment: it waits until the window has
// been drawn, so that the user sees it at once.
gboolean TMainWindow::OnMapEvent(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<TMainWindow*>(self)->ScheduleActivate();
    return FALSE;
}

gboolean TMainWindow::OnFocusIn(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<TMainWindow*>(self)->ScheduleActivate();
    return FALSE;
}

void TMainWindow::ScheduleActivate() {
    if (!ActivateIdle.Active()) {
        ActivateIdle = g_idle_add(&OnActivateIdle, this);
    }
}

gboolean TMainWindow::OnActivateIdle(gpointer self) {
    auto* window = static_cast<TMainWindow*>(self);
    window->ActivateIdle.Forget();
    window->Guarded([window] {
        if (window->Frm != nullptr) {
            window->Frm->FormActivate();
        }
    });
    return G_SOURCE_REMOVE;
}

gboolean TMainWindow::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self) {
    auto* window = static_cast<TMainWindow*>(self);
    if (!window->Closing) {
        window->Closing = true;
        window->Guarded([window] {
            if (window->Frm == nullptr || window->Frm->FormClose(window->GetPlacement())) {
                window->Close();
            }
        });
        window->Closing = false;
    }
    return TRUE; // the window is hidden by Close, never destroyed under the logic's feet
}

void TMainWindow::Close() {
    Closed = true;
    Timer.Remove();
    gtk_widget_hide(Window.get());
    if (gtk_main_level() > 0) {
        gtk_main_quit();
    }
}

gboolean TMainWindow::OnTimer(gpointer self) {
    auto* window = static_cast<TMainWindow*>(self);
    // A failing tick shows its box once, not once a second while the box is up.
    if (!window->InTimer && window->Frm != nullptr) {
        window->InTimer = true;
        window->Guarded([window] { window->Frm->Timer1Timer(); });
        window->InTimer = false;
    }
    return G_SOURCE_CONTINUE;
}

} // namespace stellik
