// bench/gui/MinimalView.h -- the plainest WebKit window that shows a page from memory
//
// The yardstick of the player's own view: a GTK window of the player's size with one web view
// on the default context, a page loaded with load_html and its pictures answered from memory,
// nothing else.
#pragma once

#include <webkit2/webkit2.h>

#include <map>
#include <string>

namespace stellik::bench {

// Pictures by the last part of their URL, unescaped ("startbtn_gif", "solar.png").
using TPictures = std::map<std::string, std::string>;

// The key a picture's URL is looked up by.
std::string PictureKey(const std::string& uri);

class TMinimalView {
public:
    TMinimalView();
    ~TMinimalView();
    TMinimalView(const TMinimalView&) = delete;
    TMinimalView& operator=(const TMinimalView&) = delete;

    void SetPictures(TPictures pictures) { Pictures = std::move(pictures); }
    void LoadHtml(const std::string& html);
    WebKitWebView* GetWebView() const { return View; }

private:
    static void OnRequest(WebKitURISchemeRequest* request, gpointer self);

    GtkWidget* Window;
    WebKitWebView* View; // owned by Window
    TPictures Pictures;
};

} // namespace stellik::bench
