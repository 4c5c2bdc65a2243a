// bench/gui/GuiBench.cpp -- what the examinee waits for in the real window, beside a plain
// WebKit window showing the same pages
//
//   start-up: from process start to the first page shown, and the peak memory of all the
//     processes of the view, for the player (its window made in-process as the program makes
//     it) and for stellik_gui_minimal_view with the same page and pictures; each run is a
//     new process.
//   round trip: one answer in the real window, for tests of 100 and 1,000 questions: a step
//     page, the list page and the list's answer, each timed twice: from the submit reaching
//     the program to the next page loaded, beside the plain view loading the same page; and
//     from the click to the first frame drawn after that load (what the examinee waits for;
//     the page is filled in and drawn before the click, as the examinee's answers are),
//     beside the plain view from its load call to the same frame, once with its pictures
//     cached as a browser keeps them and once refused storage as the player does.
//
// Run under a display (xvfb-run -a). Usage: stellik_gui_bench [RUNS]
#include "BenchPlayers.h"
#include "MinimalView.h"
#include "ProcessTree.h"
#include "ShownClock.h"

#include "model/QuestionManager.h"
#include "model/TestDoc.h"
#include "platform/Resources.h"
#include "shell/gtk/PageRules.h"
#include "shell/gtk/StellikApp.h"
#include "shell/gtk/SubmitScript.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace stellik::bench {

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// ---- start-up: the child processes ----

// The first page is there: not the blank page the view starts with.
bool PageFinished(WebKitWebView* view, WebKitLoadEvent event) {
    const gchar* uri = webkit_web_view_get_uri(view);
    return event == WEBKIT_LOAD_FINISHED && uri != nullptr && g_str_has_prefix(uri, "stellik:");
}

void PrintAndEnd(WebKitWebView* view, WebKitLoadEvent event, gpointer) {
    if (PageFinished(view, event)) {
        std::printf("%lld %lld\n", static_cast<long long>(g_get_monotonic_time()),
                    PeakMemoryKb(getpid()));
        std::fflush(stdout);
        _exit(0);
    }
}

// The program's start-up as main does it, in a copy of this program that carries the
// player's resources as the player does.
int RunPlayerChild() {
    std::setlocale(LC_ALL, "");
    gtk_init(nullptr, nullptr);
    RegisterQuestionKinds();
    TStellikApp app;
    g_signal_connect(app.GetWindow().GetView().GetWebView(), "load-changed",
                     G_CALLBACK(&PrintAndEnd), nullptr);
    return app.Run();
}

struct TStartRun {
    double Milliseconds = 0;
    long long PeakKb = 0;
};

// Runs argv as a new process and reads what it prints when its first page is shown.
TStartRun TimeStart(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    gchar* out = nullptr;
    gint status = 0;
    const gint64 start = g_get_monotonic_time();
    GError* error = nullptr;
    if (!g_spawn_sync(nullptr, args.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, &out,
                      nullptr, &status, &error)) {
        std::fprintf(stderr, "cannot run %s: %s\n", argv[0].c_str(), error->message);
        g_error_free(error);
        std::exit(1);
    }
    long long shown = 0;
    TStartRun run;
    if (out == nullptr || std::sscanf(out, "%lld %lld", &shown, &run.PeakKb) != 2) {
        std::fprintf(stderr, "%s showed no page\n", argv[0].c_str());
        std::exit(1);
    }
    g_free(out);
    run.Milliseconds = static_cast<double>(shown - start) / 1000.0;
    return run;
}

void StartUp(const std::string& self, const std::string& folder, int runs) {
    std::string html;
    TPictures pictures;
    InstallPlayerResources(BuiltPlayer());
    CaptureFirstPage(html, pictures);
    const std::string page = folder + "/first-page.html";
    std::ofstream(page, std::ios::binary) << html;
    std::filesystem::create_directories(folder + "/pictures");
    for (const auto& [name, bytes] : pictures) {
        std::ofstream(folder + "/pictures/" + name, std::ios::binary) << bytes;
    }
    const std::string minimal =
        (std::filesystem::path(self).parent_path() / "stellik_gui_minimal_view").string();
    const std::string player = folder + "/stellik-bench-player";
    std::ofstream(player, std::ios::binary)
        << AppendResources(ReadFile(self), ReadResources(ReadFile(BuiltPlayer())));
    std::filesystem::permissions(player, std::filesystem::perms::owner_all);

    std::vector<double> playerMs, minimalMs;
    std::vector<double> playerKb, minimalKb;
    for (int i = 0; i < runs; ++i) { // alternating, so that both see the same machine
        const TStartRun ours = TimeStart({player, "--player"});
        const TStartRun plain = TimeStart({minimal, page, folder + "/pictures"});
        playerMs.push_back(ours.Milliseconds);
        minimalMs.push_back(plain.Milliseconds);
        playerKb.push_back(static_cast<double>(ours.PeakKb));
        minimalKb.push_back(static_cast<double>(plain.PeakKb));
    }
    std::printf("start-up to the first page (median of %d runs)\n", runs);
    std::printf("  player   %8.1f ms   peak memory of its processes %7.0f MB\n", Median(playerMs),
                Median(playerKb) / 1024);
    std::printf("  minimal  %8.1f ms   peak memory of its processes %7.0f MB\n", Median(minimalMs),
                Median(minimalKb) / 1024);
    std::printf("  ratio    %8.2f                                    %7.2f\n",
                Median(playerMs) / Median(minimalMs), Median(playerKb) / Median(minimalKb));
}

// ---- round trips in the real window ----

// The player's window driven from the benchmark: loads counted, submits time-stamped.
class TSession {
public:
    explicit TSession(const std::string& playerFile) {
        InstallPlayerResources(playerFile);
        App = std::make_unique<TStellikApp>();
        View = App->GetWindow().GetView().GetWebView();
        WatchShownPages(View);
        g_signal_connect(View, "load-changed", G_CALLBACK(&OnLoadChanged), this);
        g_signal_connect(webkit_web_view_get_user_content_manager(View),
                         (std::string("script-message-received::") + SubmitHandlerName).c_str(),
                         G_CALLBACK(&OnSubmit), this);
        App->Show();
        Wait(1);
    }
    ~TSession() {
        g_signal_handlers_disconnect_by_data(View, this);
        g_signal_handlers_disconnect_by_data(webkit_web_view_get_user_content_manager(View), this);
    }

    void Run(const std::string& script) {
        bool done = false;
        webkit_web_view_evaluate_javascript(
            View, script.c_str(), -1, nullptr, nullptr, nullptr,
            +[](GObject*, GAsyncResult*, gpointer flag) { *static_cast<bool*>(flag) = true; },
            &done);
        RunUntil([&done] { return done; });
    }
    // Runs the script (a click) and waits for the page it brings; returns the milliseconds
    // from the moment the submit reached the program, or from the click for a link.
    double Next(const std::string& script) {
        const int loads = Loads;
        SubmitAt = 0;
        ClickedWallMs = WallMs();
        const gint64 clicked = g_get_monotonic_time();
        Run(script);
        Wait(loads + 1);
        TriggeredAt = SubmitAt != 0 ? SubmitAt : clicked;
        return static_cast<double>(LoadedAt - TriggeredAt) / 1000.0;
    }
    // Of the last Next: the milliseconds until the new page was handed to the view.
    double ProgramPart() const { return static_cast<double>(StartedAt - TriggeredAt) / 1000.0; }
    // Of the last Next: the milliseconds from the click to the new page drawn.
    double Shown() const { return ShownAtMs(View) - ClickedWallMs; }
    void Wait(int loads) {
        if (!RunUntil([this, loads] { return Loads >= loads; }, 60000)) {
            std::fputs("a page did not come\n", stderr);
            std::exit(1);
        }
    }
    std::string Eval(const std::string& script) {
        std::pair<bool, std::string> result{false, {}};
        webkit_web_view_evaluate_javascript(
            View, script.c_str(), -1, nullptr, nullptr, nullptr,
            +[](GObject* view, GAsyncResult* async, gpointer data) {
                auto* out = static_cast<std::pair<bool, std::string>*>(data);
                JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view),
                                                                             async, nullptr);
                if (value != nullptr) {
                    char* text = jsc_value_to_string(value);
                    out->second = text;
                    g_free(text);
                    g_object_unref(value);
                }
                out->first = true;
            },
            &result);
        RunUntil([&result] { return result.first; });
        return result.second;
    }
    // The page now shown and its pictures, as the window logic serves them.
    void CopyPage(std::string& html, TPictures& pictures) {
        html = "<html>" + Eval("document.documentElement.innerHTML") + "</html>";
        const std::string sources = Eval("Array.from(document.images).map(i => i.src).join('\\n')");
        std::istringstream lines(sources);
        for (std::string uri; std::getline(lines, uri);) {
            if (const auto asked = ImageSourceOf(uri)) {
                pictures[PictureKey(uri)] =
                    std::string(App->GetMainFrm().HTMLViewer1ImageRequest(*asked).View());
            }
        }
    }
    TStellikApp& Player() { return *App; }

private:
    static void OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
        if (event == WEBKIT_LOAD_STARTED) {
            static_cast<TSession*>(self)->StartedAt = g_get_monotonic_time();
        }
        if (PageFinished(view, event)) {
            auto* session = static_cast<TSession*>(self);
            session->LoadedAt = g_get_monotonic_time();
            ++session->Loads;
        }
    }
    static void OnSubmit(WebKitUserContentManager*, WebKitJavascriptResult*, gpointer self) {
        static_cast<TSession*>(self)->SubmitAt = g_get_monotonic_time();
    }

    std::unique_ptr<TStellikApp> App;
    WebKitWebView* View = nullptr;
    int Loads = 0;
    gint64 LoadedAt = 0;
    gint64 StartedAt = 0;
    gint64 SubmitAt = 0;
    gint64 TriggeredAt = 0;
    double ClickedWallMs = 0;
};

// One step of the session beside the plain view: the player's time for the step, and the
// plain view's time (median of repeats) for going from the same page to the same next page.
struct TTrip {
    double Player = 0;
    double Program = 0; // of Player: until the program handed the page to the view
    double Minimal = 0;
    // From the click (the load call for the plain views) to the new page drawn.
    double PlayerShown = 0;
    double CachingShown = 0;
    double NotStoringShown = 0;
};

class TMinimalClock {
public:
    explicit TMinimalClock(TMinimalView& view) : View(view) {
        Handler =
            g_signal_connect(View.GetWebView(), "load-changed", G_CALLBACK(&OnLoadChanged), this);
    }
    ~TMinimalClock() { g_signal_handler_disconnect(View.GetWebView(), Handler); }

    // Milliseconds from load_html to the page finished.
    double Load(const std::string& html) {
        const int before = Loads;
        StartWallMs = WallMs();
        const gint64 start = g_get_monotonic_time();
        View.LoadHtml(html);
        RunUntil([&] { return Loads > before; }, 60000);
        return static_cast<double>(LoadedAt - start) / 1000.0;
    }
    // Of the last Load: milliseconds from load_html to the page drawn.
    double Shown() const { return ShownAtMs(View.GetWebView()) - StartWallMs; }

private:
    static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
        if (event == WEBKIT_LOAD_FINISHED) {
            auto* clock = static_cast<TMinimalClock*>(self);
            clock->LoadedAt = g_get_monotonic_time();
            ++clock->Loads;
        }
    }

    TMinimalView& View;
    gulong Handler = 0;
    int Loads = 0;
    gint64 LoadedAt = 0;
    double StartWallMs = 0;
};

// An examinee reads and answers a page before submitting it: the view has long finished
// drawing it by then, so both views are given that moment before each timed load.
void Settle() {
    const gint64 until = g_get_monotonic_time() + 300000;
    RunUntil([until] { return g_get_monotonic_time() > until; });
}

// The plain views, one keeping pictures as a browser does, one refusing to store them.
struct TMinimalViews {
    TMinimalViews() {
        WatchShownPages(Caching.GetWebView());
        WatchShownPages(NotStoring.GetWebView());
    }
    TMinimalView Caching{TImageStore::Cached};
    TMinimalView NotStoring{TImageStore::NotStored};
};

// Medians of the plain view going from page before to page after: to load-finished and to
// the page drawn.
std::pair<double, double> MinimalTrip(TMinimalView& minimal, const TPictures& pictures,
                                      const std::string& before, const std::string& after,
                                      int repeats) {
    minimal.SetPictures(pictures);
    TMinimalClock clock(minimal);
    std::vector<double> loaded, shown;
    for (int i = 0; i < repeats; ++i) {
        clock.Load(before);
        Settle();
        loaded.push_back(clock.Load(after));
        shown.push_back(clock.Shown());
    }
    return {Median(loaded), Median(shown)};
}

// What the examinee does on a page: fills it in (untimed: the view draws each answer as it is
// given, long before the click) and clicks.
struct TAction {
    const char* Fill = nullptr;
    const char* Click = nullptr;
};

void Fill(TSession& session, const TAction& action) {
    if (action.Fill != nullptr) {
        session.Run(action.Fill);
    }
}

// An untimed step.
void Act(TSession& session, const TAction& action) {
    Fill(session, action);
    session.Next(action.Click);
}

TTrip Trip(TSession& session, TMinimalViews& minimal, const TAction& action, int repeats) {
    Fill(session, action);
    std::string before, after;
    TPictures pictures;
    session.CopyPage(before, pictures);
    Settle();
    TTrip trip;
    trip.Player = session.Next(action.Click);
    trip.Program = session.ProgramPart();
    trip.PlayerShown = session.Shown();
    session.CopyPage(after, pictures);
    std::tie(trip.Minimal, trip.CachingShown) =
        MinimalTrip(minimal.Caching, pictures, before, after, repeats);
    trip.NotStoringShown = MinimalTrip(minimal.NotStoring, pictures, before, after, repeats).second;
    return trip;
}

const TAction Register{"document.querySelector('input[name=lastname]').value = 'Иванов';"
                       "document.querySelector('input[name=firstname]').value = 'Пётр';",
                       "document.querySelector('input[type=submit]').click();"};
const TAction RunTest{nullptr,
                      "document.querySelector('a[href=\"stellik://cmd/runtest\"]').click();"};
// Every question answered: the first choice, the first list item, a typed text.
const TAction AnswerAll{
    "for (const f of document.querySelectorAll('input[name^=\"ANSW/\"]')) {"
    "  if (f.type == 'radio' || f.type == 'checkbox') { if (f.value == '0') f.checked = true; }"
    "  else f.value = '15'; }"
    "for (const s of document.querySelectorAll('select')) s.selectedIndex = 1;",
    "document.querySelector('input[name=\"CMD/NEXT\"]').click();"};

// The median of one figure of the trips.
double MedianOf(const std::vector<TTrip>& trips, double TTrip::*figure) {
    std::vector<double> values;
    for (const TTrip& trip : trips) {
        values.push_back(trip.*figure);
    }
    return Median(values);
}

void Report(const std::string& what, const std::vector<TTrip>& trips) {
    const double player = MedianOf(trips, &TTrip::Player);
    const double minimal = MedianOf(trips, &TTrip::Minimal);
    std::printf("  %-36s player %7.1f ms (page made in %6.1f)   minimal %7.1f ms   ratio %5.2f\n",
                what.c_str(), player, MedianOf(trips, &TTrip::Program), minimal, player / minimal);
    const double shown = MedianOf(trips, &TTrip::PlayerShown);
    const double caching = MedianOf(trips, &TTrip::CachingShown);
    const double notStoring = MedianOf(trips, &TTrip::NotStoringShown);
    std::printf("  %-36s player %7.1f ms   minimal caching %7.1f ms (ratio %5.2f)   not storing "
                "%7.1f ms (ratio %5.2f)\n",
                "  click to the page drawn", shown, caching, shown / caching, notStoring,
                shown / notStoring);
}

void RoundTrips(const std::string& folder, int repeats) {
    TMinimalViews minimal;
    std::printf("one answer's round trip (medians of %d)\n", repeats);
    for (const int count : {100, 1000}) {
        const std::string test = MakeBenchTest(count);
        const std::string size = ", " + std::to_string(count) + " questions";
        std::filesystem::create_directories(folder + "/step");
        const std::string stepPlayer =
            MakeBenchPlayer(folder + "/step", test, BenchSettings("step"));
        {
            TSession session(stepPlayer);
            Act(session, Register);
            Act(session, RunTest);
            std::vector<TTrip> steps;
            for (int i = 0; i < repeats; ++i) {
                steps.push_back(Trip(session, minimal, AnswerAll, repeats));
            }
            Report("step page answered" + size, steps);
        }
        if (count == 100) {
            // The first run page of a session, which shows the first picture of the time.
            std::vector<TTrip> firsts;
            for (int i = 0; i < repeats; ++i) {
                TSession session(stepPlayer);
                Act(session, Register);
                firsts.push_back(Trip(session, minimal, RunTest, 1));
            }
            Report("first run page, step", firsts);
        }
        {
            std::filesystem::create_directories(folder + "/list");
            const std::string player =
                MakeBenchPlayer(folder + "/list", test, BenchSettings("list"));
            std::vector<TTrip> titles, shows, answers;
            for (int i = 0; i < repeats; ++i) {
                TSession session(player);
                titles.push_back(Trip(session, minimal, Register, 1));
                shows.push_back(Trip(session, minimal, RunTest, 1));
                answers.push_back(Trip(session, minimal, AnswerAll, 1));
            }
            if (count == 100) {
                Report("registration to title page", titles);
            }
            Report("list page shown" + size, shows);
            Report("list page answered" + size, answers);
        }
    }
}

} // namespace
} // namespace stellik::bench

int main(int argc, char** argv) {
    using namespace stellik::bench;
    if (argc == 2 && std::string(argv[1]) == "--player") {
        return RunPlayerChild();
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::setlocale(LC_ALL, "");
    // Everything the players write goes to a folder of this run, removed at the end.
    char pattern[] = "/tmp/stellik-gui-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return 1;
    }
    const std::string folder = pattern;
    for (const char* variable : {"XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
        g_setenv(variable, (folder + "/" + variable).c_str(), TRUE);
    }
    stellik::RegisterQuestionKinds();
    // The test reader changes the current folder: the programs are named by absolute paths.
    StartUp(std::filesystem::canonical("/proc/self/exe").string(), folder, runs);
    gtk_init(nullptr, nullptr);
    RoundTrips(folder, 5);
    std::filesystem::remove_all(folder);
    return 0;
}
