// The HTML view on its own, with a recording stand-in for the window logic.
#include "shell/gtk/PageView.h"
#include "platform/Exception.h"
#include "shell/gtk/GtkHandles.h"
#include "tests/gui/GuiKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include <unistd.h>

namespace stellik::testing {
namespace {

// A 1 x 1 GIF.
const std::string Pixel("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00!\xf9\x04\x01"
                        "\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;",
                        43);

struct TSubmit {
    std::string Action;
    TFormFields Fields;
};

class TRecordingEvents final : public IPageEvents {
public:
    void LinkClicked(const std::string& url) override {
        Links.push_back(url);
        if (url.ends_with("/throw")) {
            throw 42; // no standard exception
        }
    }
    void FormSubmitted(const std::string& action, const TFormFields& fields) override {
        Submits.push_back({action, fields});
        if (OnSubmit) {
            OnSubmit();
        }
    }
    std::string_view ImageRequested(const std::string& src) override {
        Images.push_back(src);
        if (src == "missing_gif") {
            throw Exception("Resource missing_gif not found");
        }
        const auto found = ImageBytes.find(src);
        return found == ImageBytes.end() ? std::string_view() : std::string_view(found->second);
    }
    void PageProcessEnded() override { ++ProcessEnds; }
    void Failed(const std::exception& error) override { Failures.push_back(error.what()); }

    long ImagesStartingWith(std::string_view prefix) const {
        return std::count_if(Images.begin(), Images.end(),
                             [prefix](const std::string& src) { return src.starts_with(prefix); });
    }

    std::vector<std::string> Links;
    std::vector<TSubmit> Submits;
    std::vector<std::string> Images;
    std::vector<std::string> Failures;
    std::map<std::string, std::string> ImageBytes{{"startbtn_gif", Pixel}};
    std::function<void()> OnSubmit;
    int ProcessEnds = 0;
};

// The thread names of every page process this test program started.
std::vector<std::string> PageProcessThreads() {
    std::vector<std::string> names;
    const std::string parent = std::to_string(getpid());
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(process.path() / "stat");
        std::string pid, command, state, ppid;
        if (!(stat >> pid >> command >> state >> ppid) || ppid != parent ||
            command != "(WebKitWebProces)") {
            continue;
        }
        std::error_code error;
        for (const auto& task :
             std::filesystem::directory_iterator(process.path() / "task", error)) {
            std::ifstream comm(task.path() / "comm");
            std::string name;
            std::getline(comm, name);
            names.push_back(name);
        }
    }
    return names;
}

class PageViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGtk();
        Window.reset(gtk_window_new(GTK_WINDOW_TOPLEVEL));
        gtk_window_set_default_size(GTK_WINDOW(Window.get()), 640, 480);
        View = std::make_unique<TWebPageView>(Events);
        gtk_container_add(GTK_CONTAINER(Window.get()), View->GetWidget());
        gtk_widget_show_all(Window.get());
        Driver = std::make_unique<TViewDriver>(View->GetWebView());
    }

    void Load(const std::string& body) {
        View->LoadHtml("<html><body>" + body + "</body></html>");
        ASSERT_TRUE(Driver->WaitForNextLoad());
    }

    TRecordingEvents Events;
    GtkWidgetPtr Window;
    std::unique_ptr<TWebPageView> View;
    std::unique_ptr<TViewDriver> Driver;
};

TEST_F(PageViewTest, ImagesAreAskedOfTheWindowAtEveryLoad) {
    const std::string page = "<img id='own' src='startbtn_gif'>"
                             "<img src='stellik://content/рис 1.gif'>"
                             "<img src='stellik://content/x%2541 %25.png'>" // as pages write "%"
                             "<img src='stellik://content/n%231.png'>"      // and "#"
                             "<img src='stellik://system/anything'>"
                             "<img id='cmd' src='stellik://cmd/runtest'>";
    Load(page);
    EXPECT_EQ(Driver->Eval("document.getElementById('own').naturalWidth"), "1");
    const std::vector<std::string> expected = {
        "startbtn_gif", "stellik://content/n#1.png", "stellik://content/x%41 %.png",
        "stellik://content/рис 1.gif", "stellik://system/anything"};
    std::vector<std::string> seen = Events.Images;
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, expected); // the command URL is never asked for
    Load(page);
    EXPECT_EQ(Events.Images.size(), 10u) << "the second load asks again";
    EXPECT_TRUE(Events.Failures.empty());
}

TEST_F(PageViewTest, AFailingImageGoesToTheStandardHandler) {
    Load("<p id='text'>still here</p><img src='missing_gif'>");
    ASSERT_TRUE(RunUntil([this] { return !Events.Failures.empty(); }));
    EXPECT_EQ(Events.Failures, std::vector<std::string>{"Resource missing_gif not found"});
    EXPECT_EQ(Driver->Eval("document.getElementById('text').innerText"), "still here");
}

TEST_F(PageViewTest, LinkClicksReachTheWindowAndThePageStays) {
    Load("<a id='cmd' href='stellik://cmd/runtest'>run</a> "
         "<a id='web' href='http://example.org/x'>web</a> "
         "<a id='blank' target='_blank' href='stellik://cmd/lastreport'>report</a>");
    const int loads = Driver->FinishedLoads();
    Driver->Click("#cmd");
    ASSERT_TRUE(RunUntil([this] { return Events.Links.size() == 1; }));
    Driver->Click("#web");
    ASSERT_TRUE(RunUntil([this] { return Events.Links.size() == 2; }));
    Driver->Click("#blank");
    ASSERT_TRUE(RunUntil([this] { return Events.Links.size() == 3; }));
    EXPECT_EQ(Events.Links,
              (std::vector<std::string>{"stellik://cmd/runtest", "http://example.org/x",
                                        "stellik://cmd/lastreport"}));
    RunFor(200);
    EXPECT_EQ(Driver->FinishedLoads(), loads);
    EXPECT_EQ(Driver->Eval("location.href"), "stellik://res/");
    EXPECT_EQ(Driver->PageText(), "run web report");
}

TEST_F(PageViewTest, FormsSubmitEveryFieldInPageOrderWithThePressedButton) {
    Load("<form action='stellik://cmd/testinput' method='post'>"
         "<input type='radio' name='ANSW/1' value='0'>"
         "<input type='radio' name='ANSW/1' value='2' checked>"
         "<input type='text' id='text' name='ANSW/2/0'>"
         "<input type='submit' name='CMD/NEXT' value='Ответить'>"
         "<input type='checkbox' name='ANSW/3' value='1' checked>"
         "<input type='checkbox' name='ANSW/3' value='4'>"
         "<select name='ANSW/4/0'><option>один</option><option selected>два</option></select>"
         "<textarea name='addinfo'>строка</textarea>"
         "<input type='submit' id='skip' name='CMD/SKIP' value='Пропустить'>"
         "</form>");
    Driver->Type("#text", "Иванов");
    Driver->Click("#skip");
    ASSERT_TRUE(RunUntil([this] { return Events.Submits.size() == 1; }));
    EXPECT_EQ(Events.Submits[0].Action, "stellik://cmd/testinput");
    const TFormFields expected = {{"ANSW/1", "2"},       {"ANSW/2/0", "Иванов"},
                                  {"ANSW/3", "1"},       {"ANSW/4/0", "два"},
                                  {"addinfo", "строка"}, {"CMD/SKIP", "Пропустить"}};
    EXPECT_EQ(Events.Submits[0].Fields, expected);
    RunFor(200);
    EXPECT_EQ(Driver->Eval("location.href"), "stellik://res/") << "the form did not navigate";
    EXPECT_EQ(Events.Submits.size(), 1u);
}

TEST_F(PageViewTest, EnterInATextFieldSubmitsWithoutAnyButton) {
    Load("<form action='stellik://cmd/register' method='post'>"
         "<input type='text' id='last' name='lastname' value='Петров'>"
         "<input type='submit' name='Submit' value='Далее'></form>");
    gtk_window_present(GTK_WINDOW(Window.get()));
    gtk_widget_grab_focus(View->GetWidget());
    Driver->Eval("document.getElementById('last').focus()");
    PressKey(View->GetWidget(), GDK_KEY_Return);
    ASSERT_TRUE(RunUntil([this] { return Events.Submits.size() == 1; }));
    EXPECT_EQ(Events.Submits[0].Action, "stellik://cmd/register");
    EXPECT_EQ(Events.Submits[0].Fields, (TFormFields{{"lastname", "Петров"}}));
}

TEST_F(PageViewTest, FieldsReachTheWindowAsTypedWhateverCharactersTheyHold) {
    Load("<form action='stellik://cmd/testinput?a=1&amp;b=%D0%B2' method='post'>"
         "<input type='text' id='text' name='ANSW/1/0'>"
         "<textarea name='a&amp;b=c%20+'>x</textarea><input type='file' name='file'>"
         "<input type='submit' id='next' name='CMD/NEXT' value=''></form>");
    const std::string typed = "Ёж & ёж = 100% + 1 \"😀\"";
    Driver->Type("#text", typed);
    Driver->Click("#next");
    ASSERT_TRUE(RunUntil([this] { return Events.Submits.size() == 1; }));
    EXPECT_EQ(Events.Submits[0].Action, "stellik://cmd/testinput?a=1&b=%D0%B2");
    EXPECT_EQ(
        Events.Submits[0].Fields,
        (TFormFields{{"ANSW/1/0", typed}, {"a&b=c%20+", "x"}, {"file", ""}, {"CMD/NEXT", ""}}));
}

TEST_F(PageViewTest, PagesRunNoScriptsOfTheirOwn) {
    Load("<script>document.title = 'script';</script>"
         "<img src='startbtn_gif' onload=\"document.title = 'handler'\">"
         "<a id='js' href=\"javascript:document.title = 'link'\">x</a>");
    Driver->Eval("document.title = 'quiet'");
    Driver->Click("#js");
    RunFor(300);
    EXPECT_EQ(Driver->Eval("document.title"), "quiet");
}

TEST_F(PageViewTest, NoRequestLeavesForTheNetwork) {
    GObjectPtr<GSocketService> service = AdoptObject(g_socket_service_new());
    const guint16 port =
        g_socket_listener_add_any_inet_port(G_SOCKET_LISTENER(service.get()), nullptr, nullptr);
    ASSERT_NE(port, 0);
    int connections = 0;
    g_signal_connect(service.get(), "incoming",
                     G_CALLBACK(+[](GSocketService*, GSocketConnection*, GObject*, gpointer count) {
                         ++*static_cast<int*>(count);
                         return FALSE;
                     }),
                     &connections);
    g_socket_service_start(service.get());
    const std::string server = "http://127.0.0.1:" + std::to_string(port);
    View->LoadHtml("<html><head><link rel='stylesheet' href='" + server +
                   "/style.css'>"
                   "<meta http-equiv='refresh' content='0; url=" +
                   server +
                   "/refresh'></head>"
                   "<body><p>page</p><img src='" +
                   server +
                   "/a.gif'>"
                   "<div style='background: url(" +
                   server +
                   "/b.gif)'>x</div>"
                   "<iframe src='" +
                   server +
                   "/frame'></iframe>"
                   "<img src='file:///etc/hostname'></body></html>");
    ASSERT_TRUE(Driver->WaitForNextLoad());
    RunFor(1000);
    EXPECT_EQ(connections, 0);
    EXPECT_EQ(Driver->Eval("location.href"), "stellik://res/");

    // The server was there to be reached: a client outside the view gets through.
    GObjectPtr<GSocketClient> client = AdoptObject(g_socket_client_new());
    GObjectPtr<GSocketConnection> connection = AdoptObject(
        g_socket_client_connect_to_host(client.get(), "127.0.0.1", port, nullptr, nullptr));
    ASSERT_TRUE(connection);
    EXPECT_TRUE(RunUntil([&connections] { return connections == 1; }));
    g_socket_service_stop(service.get());
    g_socket_listener_close(G_SOCKET_LISTENER(service.get()));
}

TEST_F(PageViewTest, AReplacedImageIsAskedForAgainWithoutAReload) {
    Load("<img id='timer' src='stellik://system/timer'><p id='p'>text</p>");
    ASSERT_EQ(Events.ImagesStartingWith("stellik://system/"), 1);
    const int loads = Driver->FinishedLoads();
    View->ReplaceImage("timer");
    ASSERT_TRUE(RunUntil([this] { return Events.ImagesStartingWith("stellik://system/") == 2; }));
    View->ReplaceImage("timer");
    ASSERT_TRUE(RunUntil([this] { return Events.ImagesStartingWith("stellik://system/") == 3; }));
    EXPECT_NE(Events.Images[1], Events.Images[2]) << "every replacement is a new URL";
    View->ReplaceImage("p"); // no image: nothing happens
    View->ReplaceImage("none");
    RunFor(300);
    EXPECT_EQ(Events.Images.size(), 3u);
    EXPECT_EQ(Driver->FinishedLoads(), loads);
    EXPECT_TRUE(Events.Failures.empty());
}

TEST_F(PageViewTest, ASecondSubmitOfAnAnsweredPageIsDropped) {
    Events.OnSubmit = [this] { View->LoadHtml("<html><body><p>next page</p></body></html>"); };
    Load("<form action='stellik://cmd/testinput'>"
         "<input type='submit' id='next' name='CMD/NEXT' value='Ответить'></form>");
    Driver->Eval("document.getElementById('next').click(); "
                 "document.getElementById('next').click();");
    ASSERT_TRUE(Driver->WaitForNextLoad());
    RunFor(300);
    EXPECT_EQ(Events.Submits.size(), 1u);
    EXPECT_EQ(Driver->PageText(), "next page");
}

TEST_F(PageViewTest, PageTextCannotBeSelectedFieldsCanBeEditedLinksAreNotUnderlined) {
    Load("<p id='p'>text</p><input id='field'><textarea id='area'></textarea>"
         "<a id='link' href='http://example.org'>link</a>");
    auto userSelect = [this](const char* id) {
        return Driver->Eval(std::string("getComputedStyle(document.getElementById('") + id +
                            "')).webkitUserSelect");
    };
    EXPECT_EQ(userSelect("p"), "none");
    EXPECT_EQ(userSelect("field"), "text");
    EXPECT_EQ(userSelect("area"), "text");
    EXPECT_EQ(Driver->Eval("getComputedStyle(document.body).marginLeft"), "0px");
    EXPECT_EQ(Driver->Eval("getComputedStyle(document.getElementById('link')).textDecorationLine"),
              "none");
}

TEST_F(PageViewTest, AHandlerThrowingNoStandardExceptionIsReportedAsUnknown) {
    Load("<a id='throw' href='stellik://cmd/throw'>x</a>");
    Driver->Click("#throw");
    ASSERT_TRUE(RunUntil([this] { return !Events.Failures.empty(); }));
    EXPECT_EQ(Events.Failures, std::vector<std::string>{"Unknown exception"});
}

// The pages are drawn on the processor: no drawing thread of the graphics card starts, nor
// the compositor that would hand it the pages.
TEST_F(PageViewTest, PagesAreDrawnWithoutTheGraphicsCard) {
    Load("<table><tr><td><b>text</b><input></td></tr></table><img src='startbtn_gif'>");
    const std::vector<std::string> threads = PageProcessThreads();
    ASSERT_FALSE(threads.empty()) << "no page process found";
    for (const std::string& name : threads) {
        EXPECT_EQ(name.find("GPU"), std::string::npos) << name;
        EXPECT_EQ(name.find("Compositor"), std::string::npos) << name;
        EXPECT_FALSE(name.starts_with("llvmpipe")) << name;
    }
}

TEST_F(PageViewTest, AnEndedPageProcessIsReportedOnceAndTheNextPageComes) {
    Load("<p>first</p>");
    webkit_web_view_terminate_web_process(View->GetWebView());
    ASSERT_TRUE(RunUntil([this] { return Events.ProcessEnds == 1; }));
    RunFor(200);
    EXPECT_EQ(Events.ProcessEnds, 1);
    Load("<a id='cmd' href='stellik://cmd/runtest'>again</a>");
    EXPECT_EQ(Driver->PageText(), "again");
    Driver->Click("#cmd");
    ASSERT_TRUE(RunUntil([this] { return Events.Links.size() == 1; }));
    EXPECT_TRUE(Events.Failures.empty());
}

TEST_F(PageViewTest, TablesTakeTheFontAroundThemUnlessTheyHaveTheirOwn) {
    // Pages have no document type; a table in such a page would otherwise start again from
    // the view's default font.
    Load("<div style='font: italic bold 12px Arial; color: #3557B4'>"
         "<table><tr><td id='plain'>a</td></tr></table>"
         "<font size='1' color='#FF0000'><table><tr><td id='font'>b</td></tr></table></font>"
         "<table style='font-size: 20px; font-style: normal'><tr><td id='own'>c</td></tr></table>"
         "</div>");
    auto style = [this](const char* id, const char* property) {
        return Driver->Eval(std::string("getComputedStyle(document.getElementById('") + id +
                            "'))." + property);
    };
    const struct {
        const char* Id;
        const char* Property;
        const char* Expected;
    } cases[] = {
        {"plain", "fontSize", "12px"},          {"plain", "fontWeight", "700"},
        {"plain", "fontStyle", "italic"},       {"plain", "fontFamily", "Arial"},
        {"plain", "color", "rgb(53, 87, 180)"}, {"font", "fontSize", "10px"},
        {"font", "color", "rgb(255, 0, 0)"},    {"own", "fontSize", "20px"},
        {"own", "fontStyle", "normal"},         {"own", "fontWeight", "700"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(style(c.Id, c.Property), c.Expected) << c.Id << " " << c.Property;
    }
}

} // namespace
} // namespace stellik::testing
