// The one rule for links the desktop may open, used by the window logic and by the view.
#include "shell/ExternalLinks.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(ExternalLinks, OnlyWebAddressesAndMailGoToTheDesktop) {
    for (const char* url : {"http://example.org", "HTTPS://example.org/a", "Http://x",
                            "mailto:a@b.c", "MAILTO:a@b.c"}) {
        EXPECT_TRUE(IsExternalUrl(url)) << url;
    }
    for (const char* url :
         {"file:///etc/passwd", "stellik://res/#top", "javascript:x()", "ftp://example.org",
          "httpx://a", "", "http", "http:", "http:/etc/passwd", "https:example.org", "mailto",
          " http://example.org", "/usr/bin/xterm"}) {
        EXPECT_FALSE(IsExternalUrl(url)) << url;
    }
}

} // namespace
} // namespace stellik::testing
