// bench/gui/MinimalView.h -- the plainest WebKit window that shows a page from memory
//
// The yardstick of the player's own view: a GTK window of the player's size with one web view
// on a plain context of its own, drawn without the graphics card as the player's view is, a page
// loaded with load_html and its pictures answered from memory, nothing else. Its pictures are kept
// by the view's cache as any page's are, or, as the player's rule has it, refused storage so that
// every load asks for them again.
#pragma once

#include <webkit2/webkit2.h>

#include <map>
#include <string>

namespace stellik::bench {

// Pictures by the last part of their URL, unescaped ("startbtn_gif", "solar.png").
using TPictures = std::map<std::string, std::string>;

// The key a picture's URL is looked up by.
std::string PictureKey(const std::string& uri);

enum class TImageStore { Cached, NotStored };

class TMinimalView {
public:
    explicit TMinimalView(TImageStore store = TImageStore::Cached);
    ~TMinimalView();
    TMinimalView(const TMinimalView&) = delete;
    TMinimalView& operator=(const TMinimalView&) = delete;

    void SetPictures(TPictures pictures) { Pictures = std::move(pictures); }
    void LoadHtml(const std::string& html);
    WebKitWebView* GetWebView() const { return View; }

private:
    static void OnRequest(WebKitURISchemeRequest* request, gpointer self);

    GtkWidget* Window;
    WebKitWebView* View = nullptr; // owned by Window
    TImageStore Store;
    TPictures Pictures;
};

} // namespace stellik::bench
