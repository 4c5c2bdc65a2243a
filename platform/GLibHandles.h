// platform/GLibHandles.h -- owners for the strings and errors GLib hands over
#pragma once

#include "platform/CFree.h"

#include <glib.h>

#include <memory>

namespace stellik {

// A string GLib allocated for us (g_path_get_dirname, g_utf8_casefold, ...).
using GCharPtr = std::unique_ptr<char, TCFree<g_free>>;
using GErrorPtr = std::unique_ptr<GError, TCFree<g_error_free>>;

} // namespace stellik
