// bench/gui/minimal_view.cpp -- the yardstick program of the start-up benchmark
//
// stellik_gui_minimal_view PAGE FOLDER: shows the HTML file PAGE with the pictures of FOLDER
// (file names are the pictures' keys) and, when the page has finished loading, prints the
// monotonic clock in microseconds and the peak memory of its processes in kB, then ends.
#include "MinimalView.h"
#include "ProcessTree.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void OnLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer) {
    if (event == WEBKIT_LOAD_FINISHED) {
        std::printf("%lld %lld\n", static_cast<long long>(g_get_monotonic_time()),
                    stellik::bench::PeakMemoryKb(getpid()));
        std::fflush(stdout);
        _exit(0); // the measurement is done; the view's processes end with the connection
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: stellik_gui_minimal_view PAGE FOLDER\n", stderr);
        return 2;
    }
    gtk_init(nullptr, nullptr);
    stellik::bench::TPictures pictures;
    for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
        pictures[entry.path().filename().string()] = ReadFile(entry.path());
    }
    stellik::bench::TMinimalView view;
    view.SetPictures(std::move(pictures));
    g_signal_connect(view.GetWebView(), "load-changed", G_CALLBACK(&OnLoadChanged), nullptr);
    view.LoadHtml(ReadFile(argv[1]));
    gtk_main();
    return 1;
}
