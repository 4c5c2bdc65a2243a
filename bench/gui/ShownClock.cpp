#include "ShownClock.h"

#include "BenchPlayers.h"

#include <cstdio>
#include <cstdlib>

namespace stellik::bench {

namespace {

// Animation frame callbacks run just before a frame is drawn; a task queued from one runs
// once that frame is done.
constexpr const char* NotingScript =
    "addEventListener('load', () => requestAnimationFrame(() => setTimeout(() => {"
    "  window.stellikBenchShownAt = Date.now(); })));";

constexpr const char* AskingScript =
    "return await new Promise(done => {"
    "  const ask = () => window.stellikBenchShownAt ? done(window.stellikBenchShownAt)"
    "                                                : setTimeout(ask, 1);"
    "  ask(); });";

} // namespace

void WatchShownPages(WebKitWebView* view) {
    WebKitUserScript* script =
        webkit_user_script_new(NotingScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(webkit_web_view_get_user_content_manager(view), script);
    webkit_user_script_unref(script);
}

double WallMs() {
    return static_cast<double>(g_get_real_time()) / 1000.0;
}

double ShownAtMs(WebKitWebView* view) {
    struct TAnswer {
        bool Done = false;
        double At = 0;
    } answer;
    webkit_web_view_call_async_javascript_function(
        view, AskingScript, -1, nullptr, nullptr, nullptr, nullptr,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
            auto* out = static_cast<TAnswer*>(data);
            JSCValue* value = webkit_web_view_call_async_javascript_function_finish(
                WEBKIT_WEB_VIEW(source), result, nullptr);
            if (value != nullptr) {
                out->At = jsc_value_to_double(value);
                g_object_unref(value);
            }
            out->Done = true;
        },
        &answer);
    if (!RunUntil([&answer] { return answer.Done; }, 60000) || answer.At == 0) {
        std::fputs("a page was not drawn\n", stderr);
        std::exit(1);
    }
    return answer.At;
}

} // namespace stellik::bench
