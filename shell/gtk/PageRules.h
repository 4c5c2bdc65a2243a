// shell/gtk/PageRules.h -- what the HTML view decides about URLs, without a display
#pragma once

#include "shell/ViewInterfaces.h"

#include <optional>
#include <string>
#include <string_view>

namespace stellik {

// What a request for a "stellik:" URL asks the window for: the source to hand to the image
// request (the bare name for a page-relative picture, the whole URL, unescaped, for the
// content and system hosts), or nothing for a command URL, which is never served.
std::optional<std::string> ImageSourceOf(std::string_view uri);

// The MIME type of an image by its first bytes (GIF, PNG, JPEG, BMP, SVG);
// "application/octet-stream" for anything else, the empty answer included.
const char* SniffImageType(std::string_view bytes);

enum class TNavigationKind { LinkClick, FormSubmit, Other };
enum class TNavigationVerdict {
    Allow,    // the view goes on loading
    Ignore,   // refused, nothing else happens
    Dispatch, // refused, and the URL goes to the window's link handler
};

// The view's answer to a navigation. ownLoadExpected: a page the window loaded itself is on
// its way, so the navigation to the page base URI is that load. Clicks on links dispatch,
// form submits are refused (the submit script has already delivered them), and nothing else
// may leave the page except to "about:".
TNavigationVerdict DecideNavigation(TNavigationKind kind, std::string_view uri,
                                    bool ownLoadExpected);

// The fields of a submitted form as the submit script writes them: "name=value" pairs joined by
// "&", names and values escaped as encodeURIComponent escapes them; the empty text is no field.
// Nothing when a pair has no "=" or an escape is broken.
std::optional<TFormFields> DecodeFormFields(std::string_view encoded);

// text as a JavaScript string literal in double quotes (valid UTF-8 in, the same out).
std::string JsStringLiteral(std::string_view text);

} // namespace stellik
