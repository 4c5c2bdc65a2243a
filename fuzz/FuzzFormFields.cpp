// The page protocol: what a page can send the window, links, form submits with their field
// lists, picture requests, ticks and the close, in any order, in each run mode. The input is
// a list of lines:
//   @command      a form for "stellik://cmd/command" begins (the first form is "testinput")
//   name=value    a field of the current form, in order
//   !url          the form so far is sent; a link to url is clicked
//   #src          the form so far is sent; the view asks for the picture src
//   *             the form so far is sent; the one-second timer ticks
//   ~             the form so far is sent; the user closes the window (and confirms)
// Each input starts a new run of the test (the first byte chooses the run mode).
#include "fuzz/FuzzPlayer.h"
#include "platform/Exception.h"
#include "shell/PseudoHosts.h"

#include <array>
#include <functional>
#include <memory>

using namespace stellik;

namespace {

constexpr int MaxEvents = 64;

TMainFrm& PlayerFor(uint8_t choice) {
    static const std::array<std::unique_ptr<fuzz::TFuzzPlayer>, 3> players = {
        std::make_unique<fuzz::TFuzzPlayer>("step"),
        std::make_unique<fuzz::TFuzzPlayer>("sepmsg"),
        std::make_unique<fuzz::TFuzzPlayer>("list"),
    };
    return players[choice % players.size()]->Frame();
}

// A window event: what it throws goes to the standard handler, as a message for the user. Any
// other failure is a fault, and the fuzzer reports it.
void Event(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    TMainFrm& frame = PlayerFor(data[0]);
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    Event([&] { frame.ExecuteLink(std::string(CommandHost) + "/runtest", nullptr); });

    std::string command = "testinput";
    TFormFields fields;
    bool pending = false;
    int events = 0;
    const auto send = [&] {
        if (pending) {
            Event([&] { frame.ExecuteLink(std::string(CommandHost) + "/" + command, &fields); });
            fields.clear();
            pending = false;
            ++events;
        }
    };
    size_t start = 0;
    while (start <= input.size() && events < MaxEvents) {
        const size_t end = std::min(input.find('\n', start), input.size());
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        const std::string rest(line.empty() ? line : line.substr(1));
        switch (line.empty() ? '\0' : line.front()) {
        case '@':
            send();
            command = rest;
            pending = true;
            break;
        case '!':
            send();
            Event([&] { frame.ExecuteLink(rest, nullptr); });
            ++events;
            break;
        case '#':
            send();
            Event([&] { (void)frame.HTMLViewer1ImageRequest(rest); });
            ++events;
            break;
        case '*':
            send();
            Event([&] { frame.Timer1Timer(); });
            ++events;
            break;
        case '~':
            send();
            Event([&] { (void)frame.FormClose(TWindowPlacement{}); });
            ++events;
            break;
        default: {
            const size_t equals = line.find('=');
            fields.emplace_back(line.substr(0, equals),
                                equals == std::string_view::npos ? "" : line.substr(equals + 1));
            pending = true;
        }
        }
    }
    send();
    return 0;
}
