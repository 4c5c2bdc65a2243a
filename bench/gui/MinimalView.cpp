#include "MinimalView.h"

#include <libsoup/soup.h>

namespace stellik::bench {

std::string PictureKey(const std::string& uri) {
    std::string last = uri.substr(uri.find_last_of('/') + 1);
    last = last.substr(0, last.find_first_of("?#"));
    char* plain = g_uri_unescape_string(last.c_str(), nullptr);
    std::string key = plain != nullptr ? plain : last;
    g_free(plain);
    return key;
}

TMinimalView::TMinimalView(TImageStore store)
    : Window(gtk_window_new(GTK_WINDOW_TOPLEVEL)), Store(store) {
    // A context of its own: a scheme is registered once per context, and views side by side
    // each answer their own pictures.
    WebKitWebContext* context = webkit_web_context_new();
    webkit_web_context_register_uri_scheme(context, "stellik", &OnRequest, this, nullptr);
    View = WEBKIT_WEB_VIEW(webkit_web_view_new_with_context(context));
    g_object_unref(context); // the view holds it
    // Drawn on the processor as the player's pages are, so that both pay the same for a frame.
    webkit_settings_set_hardware_acceleration_policy(webkit_web_view_get_settings(View),
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
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
    const auto* view = static_cast<TMinimalView*>(self);
    const auto found = view->Pictures.find(PictureKey(webkit_uri_scheme_request_get_uri(request)));
    const std::string bytes = found == view->Pictures.end() ? std::string() : found->second;
    GBytes* data = g_bytes_new(bytes.data(), bytes.size());
    GInputStream* stream = g_memory_input_stream_new_from_bytes(data);
    WebKitURISchemeResponse* response =
        webkit_uri_scheme_response_new(stream, static_cast<gint64>(bytes.size()));
    if (view->Store == TImageStore::NotStored) {
        SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
        soup_message_headers_append(headers, "Cache-Control", "no-store");
        webkit_uri_scheme_response_set_http_headers(response, headers); // takes the headers
    }
    webkit_uri_scheme_request_finish_with_response(request, response);
    g_object_unref(response);
    g_object_unref(stream);
    g_bytes_unref(data);
}

} // namespace stellik::bench
