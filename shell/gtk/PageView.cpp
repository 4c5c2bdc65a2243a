// shell/gtk/PageView.cpp
#include "shell/gtk/PageView.h"

#include "platform/Exception.h"
#include "shell/ExternalLinks.h"
#include "shell/PseudoHosts.h"
#include "shell/TimerImage.h"
#include "shell/gtk/Guarded.h"
#include "shell/gtk/PageRules.h"
#include "shell/gtk/SubmitScript.h"
#include "shell/gtk/ViewSetup.h"

#include <libsoup/soup.h>

namespace stellik {

namespace {

const std::string BaseUri(PageBaseUri);

TNavigationKind KindOf(WebKitNavigationAction* action) {
    switch (webkit_navigation_action_get_navigation_type(action)) {
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED:
        return TNavigationKind::LinkClick;
    case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
    case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED:
        return TNavigationKind::FormSubmit;
    default:
        return TNavigationKind::Other;
    }
}

void FinishNotServed(WebKitURISchemeRequest* request) {
    GErrorPtr error(g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "Not served"));
    webkit_uri_scheme_request_finish_error(request, error.get());
}

void FinishWithBytes(WebKitURISchemeRequest* request, std::string_view bytes) {
    GBytesPtr data(g_bytes_new(bytes.data(), bytes.size()));
    GObjectPtr<GInputStream> stream = AdoptObject(g_memory_input_stream_new_from_bytes(data.get()));
    GObjectPtr<WebKitURISchemeResponse> response = AdoptObject(
        webkit_uri_scheme_response_new(stream.get(), static_cast<gint64>(bytes.size())));
    webkit_uri_scheme_response_set_content_type(response.get(), SniffImageType(bytes));
    SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
    soup_message_headers_append(headers, "Cache-Control", "no-store");
    webkit_uri_scheme_response_set_http_headers(response.get(), headers); // takes the headers
    webkit_uri_scheme_request_finish_with_response(request, response.get());
}

} // namespace

TWebPageView::TWebPageView(IPageEvents& events)
    : Events(events), Context(MakeWebContext()), ContentManager(MakeContentManager()) {
    webkit_web_context_register_uri_scheme(Context.get(), "stellik", &OnSchemeRequest, this,
                                           nullptr);
    g_signal_connect(ContentManager.get(),
                     (std::string("script-message-received::") + SubmitHandlerName).c_str(),
                     G_CALLBACK(&OnScriptMessage), this);
    webkit_user_content_manager_register_script_message_handler(ContentManager.get(),
                                                                SubmitHandlerName);
    WebView = RefObject(WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW,         //
                                                     "web-context", Context.get(), //
                                                     "user-content-manager",       //
                                                     ContentManager.get(), nullptr)));
    ApplyViewSettings(webkit_web_view_get_settings(WebView.get()));
    g_signal_connect(WebView.get(), "decide-policy", G_CALLBACK(&OnDecidePolicy), this);
    g_signal_connect(WebView.get(), "load-changed", G_CALLBACK(&OnLoadChanged), this);
    g_signal_connect(WebView.get(), "context-menu", G_CALLBACK(&OnContextMenu), this);
    g_signal_connect(WebView.get(), "web-process-terminated", G_CALLBACK(&OnProcessTerminated),
                     this);
    // The page process starts now, while the window and the test are still being made, so
    // that the first page need not wait for it.
    webkit_web_view_load_uri(WebView.get(), "about:blank");
}

TWebPageView::~TWebPageView() {
    DeliveryIdle.Remove();
    WarmUpIdle.Remove();
    g_signal_handlers_disconnect_by_data(WebView.get(), this);
    g_signal_handlers_disconnect_by_data(ContentManager.get(), this);
    // Gone from its window too, so that no request reaches a view object that is gone.
    gtk_widget_destroy(GTK_WIDGET(WebView.get()));
}

void TWebPageView::LoadHtml(std::string_view html) {
    ++Generation;
    LoadPending = true;
    ++OwnLoadsExpected;
    const std::string text(html);
    webkit_web_view_load_html(WebView.get(), text.c_str(), BaseUri.c_str());
}

void TWebPageView::ReplaceImage(const std::string& elementId) {
    const std::string src = std::string(SystemHost) + "/" + std::to_string(++ImageSerial);
    const std::string script =
        "(() => { const image = document.getElementById(" + JsStringLiteral(elementId) +
        "); if (image instanceof HTMLImageElement) image.src = " + JsStringLiteral(src) + "; })()";
    webkit_web_view_evaluate_javascript(WebView.get(), script.c_str(), -1, nullptr, nullptr,
                                        nullptr, nullptr, nullptr);
}

void TWebPageView::OpenExternal(const std::string& url) {
    if (IsExternalUrl(url)) {
        // The outcome is not reported, as with any link the desktop cannot open.
        g_app_info_launch_default_for_uri_async(url.c_str(), nullptr, nullptr, nullptr, nullptr);
    }
}

gboolean TWebPageView::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer self) {
    auto* view = static_cast<TWebPageView*>(self);
    bool decided = false;
    if (view->Guarded([&] { decided = view->DecidePolicy(decision, type); })) {
        return decided;
    }
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

bool TWebPageView::DecidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        return false; // responses: WebKit's own choice
    }
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
        WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    const std::string uri =
        webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
    const bool ownLoad =
        OwnLoadsExpected > 0 && type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION;
    switch (DecideNavigation(KindOf(action), uri, ownLoad)) {
    case TNavigationVerdict::Allow:
        if (ownLoad && uri == BaseUri) {
            --OwnLoadsExpected;
        }
        webkit_policy_decision_use(decision);
        break;
    case TNavigationVerdict::Dispatch:
        webkit_policy_decision_ignore(decision);
        PostPageEvent([this, uri] { Events.LinkClicked(uri); });
        break;
    case TNavigationVerdict::Ignore:
        webkit_policy_decision_ignore(decision);
        break;
    }
    return true;
}

void TWebPageView::OnSchemeRequest(WebKitURISchemeRequest* request, gpointer self) {
    static_cast<TWebPageView*>(self)->AnswerRequest(request);
}

void TWebPageView::AnswerRequest(WebKitURISchemeRequest* request) {
    bool finished = false;
    // No box inside WebKit's request: the failure is told once the request is over.
    RunGuarded(
        [&] {
            const std::optional<std::string> source =
                ImageSourceOf(webkit_uri_scheme_request_get_uri(request));
            if (source) {
                const std::string_view bytes = Events.ImageRequested(*source);
                FinishWithBytes(request, bytes);
                finished = true;
            }
        },
        [this](const std::exception& error) { PostFailure(error); });
    if (!finished) {
        FinishNotServed(request);
    }
}

void TWebPageView::OnScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result,
                                   gpointer self) {
    auto* view = static_cast<TWebPageView*>(self);
    view->Guarded([&] { view->ReceiveMessage(result); });
}

void TWebPageView::ReceiveMessage(WebKitJavascriptResult* result) {
    std::optional<TFormMessage> message =
        ReadFormMessage(webkit_javascript_result_get_js_value(result));
    if (!message) {
        return;
    }
    PostPageEvent([this, message = std::move(*message)] {
        Events.FormSubmitted(message.Action, message.Fields);
    });
}

void TWebPageView::OnLoadChanged(WebKitWebView* webView, WebKitLoadEvent event, gpointer self) {
    auto* view = static_cast<TWebPageView*>(self);
    if (event == WEBKIT_LOAD_COMMITTED || event == WEBKIT_LOAD_FINISHED) {
        view->LoadPending = false;
    }
    // The first picture of the time drawn in the process sets up its fonts, some milliseconds
    // that the first run page would otherwise wait for. Done once, after the first page of
    // ours is up and anything waiting to be drawn has been (a low priority idle).
    if (event == WEBKIT_LOAD_FINISHED && !view->WarmUpScheduled &&
        g_strcmp0(webkit_web_view_get_uri(webView), BaseUri.c_str()) == 0) {
        view->WarmUpScheduled = true;
        view->WarmUpIdle = g_idle_add_full(G_PRIORITY_LOW, &OnWarmUp, view, nullptr);
    }
}

gboolean TWebPageView::OnWarmUp(gpointer self) {
    static_cast<TWebPageView*>(self)->WarmUpIdle.Forget();
    // Only a head start: a real failure shows with the first picture asked for.
    RunGuarded(
        [] {
            TMemoryStream picture;
            WriteTimerImage(0, picture);
        },
        [](const std::exception&) {});
    return G_SOURCE_REMOVE;
}

void TWebPageView::OnProcessTerminated(WebKitWebView*, WebKitWebProcessTerminationReason,
                                       gpointer self) {
    auto* view = static_cast<TWebPageView*>(self);
    // Whatever the page had sent or was loading went with it; the window is told once this
    // signal is over, and its next page starts a new process.
    ++view->Generation;
    view->LoadPending = false;
    view->OwnLoadsExpected = 0;
    view->Guarded([view] {
        view->Pending.push_back({0, [view] { view->Events.PageProcessEnded(); }});
        view->ScheduleDelivery();
    });
}

gboolean TWebPageView::OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*,
                                     WebKitHitTestResult* hit, gpointer) {
    // Fields keep their editing menu; the page itself offers none.
    return !webkit_hit_test_result_context_is_editable(hit);
}

void TWebPageView::PostPageEvent(std::function<void()> deliver) {
    if (LoadPending) {
        return;
    }
    Pending.push_back({Generation, std::move(deliver)});
    ScheduleDelivery();
}

void TWebPageView::PostFailure(const std::exception& error) {
    Pending.push_back({0, [this, failure = Exception(error.what())] { Events.Failed(failure); }});
    ScheduleDelivery();
}

void TWebPageView::ScheduleDelivery() {
    if (!Delivering && !DeliveryIdle.Active() && !Pending.empty()) {
        DeliveryIdle = g_idle_add_full(G_PRIORITY_DEFAULT, &OnIdle, this, nullptr);
    }
}

gboolean TWebPageView::OnIdle(gpointer self) {
    auto* view = static_cast<TWebPageView*>(self);
    view->DeliveryIdle.Forget();
    view->Guarded([view] { view->DeliverNext(); });
    return G_SOURCE_REMOVE;
}

void TWebPageView::DeliverNext() {
    // Events of a page that has been replaced since are dropped.
    while (!Pending.empty() && Pending.front().Generation != 0 &&
           Pending.front().Generation != Generation) {
        Pending.pop_front();
    }
    if (Pending.empty()) {
        return;
    }
    const std::function<void()> deliver = std::move(Pending.front().Deliver);
    Pending.pop_front();
    // A modal box inside the handler runs the main loop; nothing else is delivered meanwhile.
    Delivering = true;
    Guarded(deliver);
    Delivering = false;
    ScheduleDelivery();
}

template <typename TCallback> bool TWebPageView::Guarded(TCallback&& callback) noexcept {
    return RunGuarded(std::forward<TCallback>(callback),
                      [this](const std::exception& error) { Events.Failed(error); });
}

} // namespace stellik
