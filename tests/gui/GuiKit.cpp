#include "tests/gui/GuiKit.h"

#include "platform/CairoHandles.h"
#include "shell/gtk/GtkHandles.h"
#include "shell/gtk/PageRules.h"
#include "tests/support/MainLoop.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace stellik::testing {

namespace {

struct TScriptResult {
    bool Done = false;
    std::string Value;
    std::string Error;
};

void OnScriptDone(GObject* view, GAsyncResult* result, gpointer data) {
    auto* out = static_cast<TScriptResult*>(data);
    GError* rawError = nullptr;
    GObjectPtr<JSCValue> value = AdoptObject(
        webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &rawError));
    GErrorPtr error(rawError);
    if (error) {
        out->Error = error->message;
    } else if (value && !jsc_value_is_undefined(value.get())) {
        GCharPtr text(jsc_value_to_string(value.get()));
        out->Value = text.get();
    }
    out->Done = true;
}

struct TSnapshotResult {
    bool Done = false;
    TCairoSurfacePtr Surface;
};

void OnSnapshotDone(GObject* view, GAsyncResult* result, gpointer data) {
    auto* out = static_cast<TSnapshotResult*>(data);
    out->Surface.reset(webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(view), result, nullptr));
    out->Done = true;
}

} // namespace

void InitGtk() {
    static const bool initialised = [] {
        // The file chooser stores its window size; the tests keep it from the desktop's store.
        g_setenv("GSETTINGS_BACKEND", "memory", TRUE);
        if (!gtk_init_check(nullptr, nullptr)) {
            ADD_FAILURE() << "no display: run the GUI tests under xvfb-run";
            return false;
        }
        return true;
    }();
    ASSERT_TRUE(initialised);
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    return RunMainLoopUntil(done, timeoutMs, 1000);
}

void RunFor(int milliseconds) {
    const gint64 deadline = g_get_monotonic_time() + gint64{milliseconds} * 1000;
    RunUntil([deadline] { return g_get_monotonic_time() > deadline; }, milliseconds + 1000);
}

TDialogAnswerer::TDialogAnswerer(std::function<void(GtkWindow*)> handler)
    : Handler(std::move(handler)), Source(g_timeout_add(20, &OnPoll, this)) {}

TDialogAnswerer::~TDialogAnswerer() {
    g_source_remove(Source);
}

namespace {

struct TDialogState {
    gint64 FirstSeen = 0;
    gint64 AnsweredAt = 0; // 0: not yet
};

} // namespace

gboolean TDialogAnswerer::OnPoll(gpointer self) {
    // A dialog is answered once it has been on screen for a moment, as a user would: a file
    // chooser answered at once ignores its buttons while it is still reading its folder. One
    // still up long after its answer did not take it (a busy machine) and is answered again.
    constexpr gint64 SettleMicroseconds = 250000;
    constexpr gint64 RetryMicroseconds = 2000000;
    auto* answerer = static_cast<TDialogAnswerer*>(self);
    const gint64 now = g_get_monotonic_time();
    GList* windows = gtk_window_list_toplevels();
    std::vector<GtkWindow*> due;
    for (GList* item = windows; item != nullptr; item = item->next) {
        GtkWindow* window = GTK_WINDOW(item->data);
        if (!GTK_IS_DIALOG(window) || !gtk_widget_get_mapped(GTK_WIDGET(window))) {
            continue;
        }
        auto* state =
            static_cast<TDialogState*>(g_object_get_data(G_OBJECT(window), "stellik-answerer"));
        if (state == nullptr) {
            state = g_new0(TDialogState, 1);
            state->FirstSeen = now;
            g_object_set_data_full(G_OBJECT(window), "stellik-answerer", state, g_free);
        } else if (state->AnsweredAt == 0 ? now - state->FirstSeen >= SettleMicroseconds
                                          : now - state->AnsweredAt >= RetryMicroseconds) {
            if (state->AnsweredAt == 0) {
                ++answerer->Count;
            }
            state->AnsweredAt = now;
            due.push_back(window);
        }
    }
    g_list_free(windows);
    // Answered after the walk: an answer may close windows of the list.
    for (GtkWindow* window : due) {
        answerer->Handler(window);
    }
    return G_SOURCE_CONTINUE;
}

std::string MessageText(GtkWindow* dialog) {
    char* raw = nullptr;
    g_object_get(dialog, "text", &raw, nullptr);
    GCharPtr text(raw);
    return text ? text.get() : "";
}

std::string MessageIcon(GtkWindow* dialog) {
    GtkWidget* image = nullptr;
    g_object_get(dialog, "image", &image, nullptr);
    if (image == nullptr) {
        return "";
    }
    GObjectPtr<GtkWidget> owned = AdoptObject(image);
    const gchar* name = nullptr;
    if (GTK_IS_IMAGE(image) && gtk_widget_get_visible(image)) {
        gtk_image_get_icon_name(GTK_IMAGE(image), &name, nullptr);
    }
    return name != nullptr ? name : "";
}

void PressKey(GtkWidget* widget, guint keyval) {
    GdkDisplay* display = gtk_widget_get_display(widget);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
        event->key.keyval = keyval;
        event->key.time = GDK_CURRENT_TIME;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys,
                                              &count)) {
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
            g_free(keys);
        }
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
}

TViewDriver::TViewDriver(WebKitWebView* view) : View(view) {
    g_signal_connect(View, "load-changed", G_CALLBACK(&OnLoadChanged), this);
    g_signal_connect(View, "load-failed", G_CALLBACK(&OnLoadFailed), this);
}

TViewDriver::~TViewDriver() {
    g_signal_handlers_disconnect_by_data(View, this);
}

void TViewDriver::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    auto* driver = static_cast<TViewDriver*>(self);
    if (event != WEBKIT_LOAD_FINISHED) {
        return;
    }
    // Only pages count: not the blank page the view starts with, nor a load that was given up
    // for the next one.
    const gchar* uri = webkit_web_view_get_uri(view);
    if (!driver->Failed && uri != nullptr && g_str_has_prefix(uri, "stellik:")) {
        ++driver->Finished;
    }
    driver->Failed = false;
}

gboolean TViewDriver::OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError*,
                                   gpointer self) {
    static_cast<TViewDriver*>(self)->Failed = true;
    return FALSE;
}

bool TViewDriver::WaitForLoads(int count, int timeoutMs) {
    return RunUntil([this, count] { return Finished >= count; }, timeoutMs);
}

std::string TViewDriver::Eval(const std::string& script) {
    TScriptResult result;
    webkit_web_view_evaluate_javascript(View, script.c_str(), -1, nullptr, nullptr, nullptr,
                                        &OnScriptDone, &result);
    if (!RunUntil([&result] { return result.Done; }, 10000)) {
        ADD_FAILURE() << "script did not finish: " << script;
        // The callback still points at result: wait it out rather than leave it dangling.
        RunUntil([&result] { return result.Done; }, 60000);
    }
    EXPECT_EQ(result.Error, "") << script;
    return result.Value;
}

void TViewDriver::Click(const std::string& selector) {
    Eval("document.querySelector(" + JsStringLiteral(selector) + ").click()");
}

void TViewDriver::Type(const std::string& selector, const std::string& text) {
    Eval("(() => { const field = document.querySelector(" + JsStringLiteral(selector) +
         "); field.focus(); field.value = " + JsStringLiteral(text) +
         "; field.dispatchEvent(new Event('input', {bubbles: true})); "
         "field.dispatchEvent(new Event('change', {bubbles: true})); })()");
}

void TViewDriver::Snapshot(const std::string& name) {
    const std::filesystem::path folder = STELLIK_SNAPSHOT_DIR;
    std::filesystem::create_directories(folder);
    SaveSnapshot(WEBKIT_SNAPSHOT_REGION_VISIBLE, (folder / (name + ".png")).string());
    if (Eval("document.documentElement.scrollHeight > window.innerHeight") == "true") {
        SaveSnapshot(WEBKIT_SNAPSHOT_REGION_FULL_DOCUMENT,
                     (folder / (name + "-full.png")).string());
    }
}

void TViewDriver::SaveSnapshot(WebKitSnapshotRegion region, const std::string& path) {
    TSnapshotResult result;
    webkit_web_view_get_snapshot(View, region, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
                                 &OnSnapshotDone, &result);
    if (!RunUntil([&result] { return result.Done; }, 10000)) {
        ADD_FAILURE() << "no snapshot for " << path;
        RunUntil([&result] { return result.Done; }, 60000);
    }
    ASSERT_TRUE(result.Surface) << path;
    EXPECT_EQ(cairo_surface_write_to_png(result.Surface.get(), path.c_str()), CAIRO_STATUS_SUCCESS)
        << path;
}

} // namespace stellik::testing
