// Pictures asked for by the view, and the one-second timer.
#include "ShellKit.h"

#include "platform/CFree.h"
#include "platform/DateTime.h"
#include "shell/TimerImage.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <memory>

namespace stellik::testing {
namespace {

std::string TimerGif(TDateTime left) {
    TMemoryStream stream;
    WriteTimerImage(left, stream);
    return std::string(stream.View());
}

TEST(Images, RequestsAreAnsweredByTheirPrefix) {
    TShellKit kit(KitSettingsXml("<test-time>1</test-time>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    const std::string timer = TimerGif(kit.Doc().LeftTime);
    struct TCase {
        std::string Src;
        std::string Bytes;
    };
    const TCase cases[] = {
        {"stellik://content/pic.gif", PictureBytes},
        {"stellik://content/PIC.GIF", PictureBytes},
        {"stellik://content/missing.gif", ""},
        {"stellik://content/", ""},
        {"stellik://content", ""},
        {"stellik://content/pic.gif", PictureBytes},
        {"stellik://system/timer.gif", timer},
        {"stellik://system", timer},
        {"stellik://systemX/anything?at=all", timer},
        {"startbtn_gif", StartButtonBytes},
        {"STARTBTN_GIF", StartButtonBytes},
        {"StartBtn_Gif", StartButtonBytes},
        {"stellik://content/missing.gif", ""}, // nothing of the last answer stays
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Src);
        const TMemoryStream& stream = kit.Frame().HTMLViewer1ImageRequest(c.Src);
        EXPECT_EQ(stream.View(), c.Bytes);
        EXPECT_EQ(stream.GetPosition(), 0U);
    }
    EXPECT_EQ(MessageOf([&] { kit.Frame().HTMLViewer1ImageRequest("nothing_gif"); }),
              "Resource nothing_gif not found");
    EXPECT_EQ(MessageOf([&] { kit.Frame().HTMLViewer1ImageRequest("stellik://res/x"); }),
              "Resource stellik://res/x not found");
}

// A picture source as the view asks for it, as a browser does: without a fragment, unescaped.
std::string AsTheViewAsks(std::string url) {
    url.resize(std::min(url.size(), url.find('#')));
    const std::unique_ptr<char, TCFree<g_free>> plain(g_uri_unescape_string(url.c_str(), nullptr));
    return plain ? std::string(plain.get()) : url;
}

TEST(Images, APictureNameHoldingEscapesReachesThePackageAsWritten) {
    const std::string name = "x%41 #1 %.png";
    std::string test = KitTestXml();
    test.replace(test.find("pic.gif"), 7, name);
    TShellKit kit(KitSettingsXml(), test);
    kit.Resources["DVCF"] = MakeArchive({{"scontent.xml", EncryptForPackage(test)},
                                         {"settings.xml", EncryptForPackage(KitSettingsXml())},
                                         {name, PictureBytes},
                                         {"xA .png", "GIF89a-another-picture"}});
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    const std::string& page = kit.View.Pages.back();
    const std::string prefix = "src=\"stellik://content/";
    const size_t start = page.find(prefix);
    ASSERT_NE(start, std::string::npos) << page;
    const size_t from = start + 5;
    const std::string url = page.substr(from, page.find('"', from) - from);
    EXPECT_EQ(kit.Frame().HTMLViewer1ImageRequest(AsTheViewAsks(url)).View(), PictureBytes);
}

TEST(Timer, TicksOnlyWhileARunIsUnderWayAndWithoutALimitOnlyCounts) {
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    for (int i = 0; i < 3; ++i) {
        kit.Frame().Timer1Timer(); // no run yet
    }
    EXPECT_EQ(kit.Doc().PassSeconds, 0);
    EXPECT_TRUE(kit.View.Replaced.empty());

    kit.Click("runtest");
    for (int i = 0; i < 75; ++i) {
        kit.Frame().Timer1Timer();
    }
    EXPECT_TRUE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.Doc().PassSeconds, 75);
    EXPECT_EQ(kit.View.Replaced, std::vector<std::string>(75, "timer"));
    EXPECT_EQ(kit.View.Pages.size(), 2U); // no page is rebuilt
    EXPECT_FALSE(kit.Page().Document().SelectBoolean(u"//test-time/left"));
}

TEST(Timer, AOneMinuteLimitShowsTheStopPageOnTheSixtiethTick) {
    TShellKit kit(KitSettingsXml("<test-time>1</test-time>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    for (int i = 0; i < 59; ++i) {
        kit.Frame().Timer1Timer();
    }
    EXPECT_TRUE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.View.Pages.size(), 2U);
    // The picture shows the time now left.
    EXPECT_EQ(kit.Frame().HTMLViewer1ImageRequest("stellik://system/timer.gif").View(),
              TimerGif(OneSecond));

    kit.Frame().Timer1Timer();
    EXPECT_FALSE(kit.Doc().IsRunning());
    ASSERT_EQ(kit.View.Pages.size(), 3U);
    EXPECT_EQ(kit.PageText(u"name(/test-out/test-stop/*)"), "time-out");
    EXPECT_NE(kit.View.Pages.back().find("Время истекло"), std::string::npos);
    EXPECT_EQ(kit.View.Replaced.size(), 60U);

    for (int i = 0; i < 5; ++i) {
        kit.Frame().Timer1Timer(); // the run is over
    }
    EXPECT_EQ(kit.View.Pages.size(), 3U);
    EXPECT_EQ(kit.View.Replaced.size(), 60U);
    EXPECT_EQ(kit.Doc().PassSeconds, 60);
}

} // namespace
} // namespace stellik::testing
