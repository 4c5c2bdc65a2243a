// shell/gtk/PageView.h -- the HTML view: a WebKit view that shows pages from memory
//
// Pages come from LoadHtml with the base "stellik://res/"; every image is asked of the window
// through the "stellik" scheme; link clicks and form submits reach the window after the
// view's own event has returned, so a command that loads a new page never runs inside WebKit.
// Events from a page that is being replaced are dropped: a second click on a page already
// answered must not answer the next one; so are those of a page whose process ended, the
// window being told of the end instead. Until the first page comes the view shows
// "about:blank". Once the first page is up, the fonts of the timer picture are made ready
// while the examinee reads it, so that the first run page need not wait for them.
#pragma once

#include "shell/ViewInterfaces.h"
#include "shell/gtk/GtkHandles.h"

#include <webkit2/webkit2.h>

#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace stellik {

// What the page asks of the window. May throw; failures go to Failed.
class IPageEvents {
public:
    virtual ~IPageEvents() = default;
    virtual void LinkClicked(const std::string& url) = 0;
    virtual void FormSubmitted(const std::string& action, const TFormFields& fields) = 0;
    // The bytes of the image src names, valid until the next call.
    virtual std::string_view ImageRequested(const std::string& src) = 0;
    // The page's process ended, so the view shows nothing of the page any more.
    virtual void PageProcessEnded() = 0;
    // The standard handler for a failure of any of the above.
    virtual void Failed(const std::exception& error) = 0;
};

class TWebPageView final : public IPageView {
public:
    explicit TWebPageView(IPageEvents& events);
    ~TWebPageView() override;
    TWebPageView(const TWebPageView&) = delete;
    TWebPageView& operator=(const TWebPageView&) = delete;

    GtkWidget* GetWidget() const { return GTK_WIDGET(WebView.get()); }
    WebKitWebView* GetWebView() const { return WebView.get(); }

    void LoadHtml(std::string_view html) override;
    void ReplaceImage(const std::string& elementId) override;
    void OpenExternal(const std::string& url) override;

private:
    struct TPendingEvent {
        unsigned Generation; // the page it came from; 0: delivered whatever page is shown
        std::function<void()> Deliver;
    };

    static gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                   WebKitPolicyDecisionType type, gpointer self);
    static void OnSchemeRequest(WebKitURISchemeRequest* request, gpointer self);
    static void OnScriptMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* result,
                                gpointer self);
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self);
    static void OnProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                                    gpointer self);
    static gboolean OnContextMenu(WebKitWebView* view, WebKitContextMenu* menu, GdkEvent* event,
                                  WebKitHitTestResult* hit, gpointer self);
    static gboolean OnIdle(gpointer self);
    static gboolean OnWarmUp(gpointer self);

    bool DecidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
    void AnswerRequest(WebKitURISchemeRequest* request);
    void ReceiveMessage(WebKitJavascriptResult* result);
    // Queues an event of the current page, unless that page is being replaced.
    void PostPageEvent(std::function<void()> deliver);
    void PostFailure(const std::exception& error);
    void DeliverNext();
    void ScheduleDelivery();
    // Runs callback; what it throws goes to the standard handler. True when it returned.
    template <typename TCallback> bool Guarded(TCallback&& callback) noexcept;

    IPageEvents& Events;
    GObjectPtr<WebKitWebContext> Context;
    GObjectPtr<WebKitUserContentManager> ContentManager;
    GObjectPtr<WebKitWebView> WebView; // our reference; its container holds another

    unsigned Generation = 1;  // counts the pages loaded
    bool LoadPending = false; // a new page is on its way; the shown one is going
    int OwnLoadsExpected = 0; // LoadHtml calls whose navigation has not been seen yet
    unsigned ImageSerial = 0; // makes each replaced image's URL new
    std::deque<TPendingEvent> Pending;
    bool Delivering = false;
    TSourceId DeliveryIdle;
    bool WarmUpScheduled = false;
    TSourceId WarmUpIdle;
};

} // namespace stellik
