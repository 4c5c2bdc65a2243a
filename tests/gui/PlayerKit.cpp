#include "tests/gui/PlayerKit.h"

#include "model/QuestionManager.h"
#include "platform/Resources.h"
#include "tools/pack/PlayerPack.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace stellik::testing {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

} // namespace

std::string BuiltPlayer() {
    return std::string(STELLIK_BINARY_DIR) + "/stellik";
}

std::string DemoPlayerWith(const std::string& folder, const std::string& from,
                           const std::string& to) {
    const std::string demo = std::string(STELLIK_SOURCE_DIR) + "/demo";
    std::string settings = ReadFile(demo + "/settings.xml");
    const size_t at = settings.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        settings.replace(at, from.size(), to);
    }
    std::ofstream(folder + "/settings.xml", std::ios::binary) << settings;
    TPackOptions options;
    options.Test = demo + "/demo.xml";
    options.Settings = folder + "/settings.xml";
    options.Pictures = demo + "/pictures";
    options.Player = BuiltPlayer();
    options.Output = folder + "/stellik";
    MakePlayer(options);
    return options.Output;
}

TPlayer::TPlayer(const std::string& playerFile) {
    InitGtk();
    RegisterQuestionKinds();
    std::map<std::string, std::string> resources;
    for (auto& [name, bytes] : ReadResources(ReadFile(playerFile))) {
        resources.emplace(name, std::move(bytes));
    }
    TResources::Install(std::move(resources));
    Application = std::make_unique<TStellikApp>();
    Driver = std::make_unique<TViewDriver>(Application->GetWindow().GetView().GetWebView());
}

TPlayer::~TPlayer() {
    Driver.reset();
    Application.reset();
}

void TPlayer::Start() {
    Application->Show();
    ASSERT_TRUE(Driver->WaitForLoads(1, 20000)) << "no first page";
}

std::vector<TPageField> TPlayer::Fields() {
    // One field a line: name, type, value and the options, separated by tabs.
    const std::string listing = Driver->Eval(R"JS(
        Array.from(document.querySelectorAll("input, select, textarea")).map(field =>
            [field.name, field.type, field.value].concat(
                field.options ? Array.from(field.options).map(o => o.text) : []).join("\t")
        ).join("\n"))JS");
    std::vector<TPageField> fields;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> parts;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            parts.push_back(cell);
        }
        parts.resize(std::max<size_t>(parts.size(), 3));
        fields.push_back({parts[0], parts[1], parts[2], {parts.begin() + 3, parts.end()}});
    }
    return fields;
}

void TPlayer::AndWaitForPage(const std::function<void()>& action) {
    const int loads = Driver->FinishedLoads();
    action();
    ASSERT_TRUE(Driver->WaitForLoads(loads + 1)) << "no new page";
}

void TPlayer::ClickForPage(const std::string& selector) {
    AndWaitForPage([&] { Driver->Click(selector); });
}

} // namespace stellik::testing
