// shell/gtk/GtkHandles.h -- owners for the GLib, GTK and WebKit handles the window keeps
#pragma once

#include "platform/GLibHandles.h"

#include <gtk/gtk.h>

#include <memory>

namespace stellik {

struct GObjectUnref {
    void operator()(void* object) const noexcept { g_object_unref(object); }
};
// A strong reference to any GObject (web context, content manager, input stream, ...).
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

// Takes over a reference the caller already holds (a "new" or "ref" result).
template <typename T> GObjectPtr<T> AdoptObject(T* object) {
    return GObjectPtr<T>(object);
}
// Adds a reference of our own (sinks a floating one, as a new widget has).
template <typename T> GObjectPtr<T> RefObject(T* object) {
    return GObjectPtr<T>(static_cast<T*>(g_object_ref_sink(object)));
}

struct GBytesDeleter {
    void operator()(GBytes* bytes) const noexcept { g_bytes_unref(bytes); }
};
using GBytesPtr = std::unique_ptr<GBytes, GBytesDeleter>;

// A top-level widget (window or dialog) we created: destroying it is how GTK frees it.
struct GtkWidgetDestroyer {
    void operator()(GtkWidget* widget) const noexcept { gtk_widget_destroy(widget); }
};
using GtkWidgetPtr = std::unique_ptr<GtkWidget, GtkWidgetDestroyer>;

// A main loop source we added; removed when the owner goes, so no callback outlives it.
class TSourceId {
public:
    TSourceId() = default;
    explicit TSourceId(guint id) : Id(id) {}
    ~TSourceId() { Remove(); }
    TSourceId(const TSourceId&) = delete;
    TSourceId& operator=(const TSourceId&) = delete;
    TSourceId& operator=(guint id) {
        Remove();
        Id = id;
        return *this;
    }
    // The source has ended by itself (its callback returned G_SOURCE_REMOVE).
    void Forget() { Id = 0; }
    bool Active() const { return Id != 0; }
    void Remove() {
        if (Id != 0) {
            g_source_remove(Id);
            Id = 0;
        }
    }

private:
    guint Id = 0;
};

} // namespace stellik
