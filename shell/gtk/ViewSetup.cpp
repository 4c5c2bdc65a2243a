// shell/gtk/ViewSetup.cpp
#include "shell/gtk/ViewSetup.h"

#include "shell/gtk/SubmitScript.h"

namespace stellik {

namespace {

// Refused by the system at once: nothing listens on port 0.
constexpr const char* ClosedProxy = "http://127.0.0.1:0";

// Pages carry no document type, so the view lays them out in quirks mode, where a table starts
// again from the default font, size and colour. Tables written into questions are meant to read
// like the text around them (a font element around a table included), so here they inherit it;
// a style of the page's own still wins.
constexpr const char* PageStyle = R"CSS(
* { -webkit-user-select: none; user-select: none; }
input, textarea, select { -webkit-user-select: text; user-select: text; }
body { margin: 0; }
a { text-decoration: none; }
table { font: inherit; color: inherit; }
)CSS";

void CloseNetwork(WebKitWebContext* context) {
    WebKitWebsiteDataManager* manager = webkit_web_context_get_website_data_manager(context);
    WebKitNetworkProxySettings* proxy = webkit_network_proxy_settings_new(ClosedProxy, nullptr);
    webkit_website_data_manager_set_network_proxy_settings(manager,
                                                           WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxy);
    webkit_network_proxy_settings_free(proxy);
}

} // namespace

GObjectPtr<WebKitWebContext> MakeWebContext() {
    GObjectPtr<WebKitWebContext> context = AdoptObject(webkit_web_context_new_ephemeral());
    webkit_web_context_set_cache_model(context.get(), WEBKIT_CACHE_MODEL_DOCUMENT_VIEWER);
    CloseNetwork(context.get());
    return context;
}

void ApplyViewSettings(WebKitSettings* settings) {
    webkit_settings_set_enable_javascript(settings, TRUE);         // our injected script and calls
    webkit_settings_set_enable_javascript_markup(settings, FALSE); // none of the pages' own
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    webkit_settings_set_enable_caret_browsing(settings, FALSE);
    webkit_settings_set_enable_page_cache(settings, FALSE);
    webkit_settings_set_enable_media(settings, FALSE);
    webkit_settings_set_enable_webgl(settings, FALSE);
    // The pages are still pictures and text: drawn on the processor, the page process starts
    // no drawing threads of the graphics card (one of which has been seen to fault).
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_enable_html5_local_storage(settings, FALSE);
    webkit_settings_set_enable_html5_database(settings, FALSE);
    // The view's default font and its preformatted font; the nearest installed ones stand in.
    webkit_settings_set_default_font_family(settings, "Times New Roman");
    webkit_settings_set_monospace_font_family(settings, "Verdana");
}

GObjectPtr<WebKitUserContentManager> MakeContentManager() {
    GObjectPtr<WebKitUserContentManager> manager = AdoptObject(webkit_user_content_manager_new());
    WebKitUserScript* script =
        webkit_user_script_new(SubmitScriptSource(), WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(manager.get(), script);
    webkit_user_script_unref(script);
    WebKitUserStyleSheet* style =
        webkit_user_style_sheet_new(PageStyle, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                    WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
    webkit_user_content_manager_add_style_sheet(manager.get(), style);
    webkit_user_style_sheet_unref(style);
    return manager;
}

} // namespace stellik
