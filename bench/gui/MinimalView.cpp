#include "MinimalView.h"

namespace stellik::bench {

std::string PictureKey(const std::string& uri) {
    std::string last = uri.substr(uri.find_last_of('/') + 1);
    last = last.substr(0, last.find_first_of("?#"));
    char* plain = g_uri_unescape_string(last.c_str(), nullptr);
    std::string key = plain != nullptr ? plain : last;
    g_free(plain);
    return key;
}

TMinimalView::TMinimalView()
    : Window(gtk_window_new(GTK_WINDOW_TOPLEVEL)), View(WEBKIT_WEB_VIEW(webkit_web_view_new())) {
    webkit_web_context_register_uri_scheme(webkit_web_view_get_context(View), "stellik", &OnRequest,
                                           this, nullptr);
    gtk_window_set_default_size(GTK_WINDOW(Window), 761, 526);
    gtk_container_add(GTK_CONTAINER(Window), GTK_WIDGET(View));
    gtk_widget_show_all(Window);
}

TMinimalView::~TMinimalView() {
    gtk_widget_destroy(Window);
}

void TMinimalView::LoadHtml(const std::string& html) {
    webkit_web_view_load_html(View, html.c_str(), "stellik://res/");
}

void TMinimalView::OnRequest(WebKitURISchemeRequest* request, gpointer self) {
    const TPictures& pictures = static_cast<TMinimalView*>(self)->Pictures;
    const auto found = pictures.find(PictureKey(webkit_uri_scheme_request_get_uri(request)));
    const std::string bytes = found == pictures.end() ? std::string() : found->second;
    GBytes* data = g_bytes_new(bytes.data(), bytes.size());
    GInputStream* stream = g_memory_input_stream_new_from_bytes(data);
    webkit_uri_scheme_request_finish(request, stream, static_cast<gint64>(bytes.size()), nullptr);
    g_object_unref(stream);
    g_bytes_unref(data);
}

} // namespace stellik::bench
