// shell/gtk/ViewSetup.h -- the web context, settings and page additions of the HTML view
#pragma once

#include "shell/gtk/GtkHandles.h"

#include <webkit2/webkit2.h>

namespace stellik {

// An ephemeral context (no disk cache, no history, nothing kept) whose network traffic goes
// to a proxy nobody answers, so that no page can reach the network, and which keeps no
// resources in memory, so that every load asks for its images again. The "stellik" scheme is
// registered by the view.
GObjectPtr<WebKitWebContext> MakeWebContext();

// The view's settings: no scripts of the pages' own (the injected script still runs), no
// media, developer extras, caret browsing or page cache (this WebKit has no plug-ins), no
// drawing on the graphics card; the default fonts.
void ApplyViewSettings(WebKitSettings* settings);

// The content manager with the submit script (every frame, at document start) and the style
// sheet that keeps page text from being selected (fields stay editable), draws links without
// underlines and lets tables take the font around them.
GObjectPtr<WebKitUserContentManager> MakeContentManager();

} // namespace stellik
