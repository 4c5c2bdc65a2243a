#include "BenchPlayers.h"

#include "documents/SettingsObj.h"
#include "documents/TestParser.h"
#include "model/QuestionManager.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "shell/MainFrm.h"
#include "shell/PseudoHosts.h"
#include "shell/TransformProcessor.h"
#include "shell/gtk/PageRules.h"
#include "tests/support/MainLoop.h"
#include "tools/pack/PlayerPack.h"

#include <gtk/gtk.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace stellik::bench {

namespace {

// The window logic's screen, remembering the page it was given.
class TRecordingView final : public IPageView {
public:
    void LoadHtml(std::string_view html) override { Html = html; }
    void ReplaceImage(const std::string&) override {}
    void OpenExternal(const std::string&) override {}
    std::string Html;
};

class TSilentDialogs final : public IDialogs {
public:
    TMsgResult MessageBox(const std::string&, TMsgButtons, TMsgIcon) override {
        return TMsgResult::No;
    }
    void ShowException(const std::exception& error) override { throw Exception(error.what()); }
    bool ExecuteFileDialog(const TFileDialogOptions&, std::string&) override { return false; }
};

} // namespace

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string MakeBenchTest(int count) {
    static const char* const Kinds[] = {"single", "check", "text", "number", "box"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n<test>\n<name>Большой тест</name>\n"
                      "<questions>\n";
    std::string ids;
    for (int i = 0; i < count; ++i) {
        const std::string kind = Kinds[i % 5];
        const std::string id = "q" + std::to_string(i);
        ids += id + " ";
        xml += "<" + kind + " id=\"" + id + "\" random=\"n\">\n  <p>Вопрос <b>" +
               std::to_string(i) + "</b>: выберите правильный ответ.</p>\n";
        if (kind == "single" || kind == "check") {
            xml += "  <answer rating=\"1\" right=\"y\">Первый <i>ответ</i></answer>\n"
                   "  <answer rating=\"0\">Второй ответ</answer>\n"
                   "  <answer rating=\"0\">Третий ответ</answer>\n";
        } else if (kind == "text") {
            xml += "  <answer rating=\"1\" right=\"Москва\"/>\n";
        } else if (kind == "number") {
            xml += "  <answer rating=\"1\" right=\"10..20\"/>\n";
        } else {
            xml += "  <answer rating=\"1\" right=\"да\"/>\n";
        }
        xml += "</" + kind + ">\n";
    }
    xml += "</questions>\n<selector>\n<section id=\"all\"><name>Все вопросы</name>"
           "<allout idref=\"" +
           ids + "\" random=\"n\"/></section>\n</selector>\n</test>\n";
    return xml;
}

std::string BenchSettings(const std::string& mode) {
    std::string settings = ReadFile(std::string(STELLIK_SOURCE_DIR) + "/demo/settings.xml");
    const std::string from = "<test-run-mode>sepmsg</test-run-mode>";
    settings.replace(settings.find(from), from.size(),
                     "<test-run-mode>" + mode + "</test-run-mode>");
    return settings;
}

std::string MakeBenchPlayer(const std::string& folder, const std::string& test,
                            const std::string& settings) {
    std::ofstream(folder + "/test.xml", std::ios::binary) << test;
    std::ofstream(folder + "/settings.xml", std::ios::binary) << settings;
    TPackOptions options;
    options.Test = folder + "/test.xml";
    options.Settings = folder + "/settings.xml";
    options.Pictures = folder;
    options.Player = BuiltPlayer();
    options.Output = folder + "/player";
    MakePlayer(options);
    return options.Output;
}

std::string BuiltPlayer() {
    return std::string(STELLIK_BINARY_DIR) + "/stellik";
}

void InstallPlayerResources(const std::string& playerFile) {
    std::map<std::string, std::string> resources;
    for (auto& [name, bytes] : ReadResources(ReadFile(playerFile))) {
        resources.emplace(name, std::move(bytes));
    }
    TResources::Install(std::move(resources));
}

void CaptureFirstPage(std::string& html, TPictures& pictures) {
    TRecordingView view;
    TSilentDialogs dialogs;
    TServiceModules services;
    TMainFrm frame(view, dialogs, services);
    services.TestParserObj = std::make_unique<TTestParserObj>();
    services.SettingsObj = std::make_unique<TSettingsObj>();
    services.TransformProcessor = std::make_unique<TTransformProcessor>();
    XmlCryptManager = std::make_unique<TXmlCryptManager>();
    services.XmlCryptManager = XmlCryptManager.get();
    frame.FormShow();
    frame.FormActivate();
    html = view.Html;
    const std::regex source("src=\"([^\"]*)\"");
    for (auto match = std::sregex_iterator(html.begin(), html.end(), source);
         match != std::sregex_iterator(); ++match) {
        const std::string src = (*match)[1];
        const std::string uri =
            src.find("://") == std::string::npos ? std::string(PageBaseUri) + src : src;
        if (const auto asked = ImageSourceOf(uri)) {
            pictures[PictureKey(uri)] = std::string(frame.HTMLViewer1ImageRequest(*asked).View());
        }
    }
    XmlCryptManager.reset();
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    return testing::RunMainLoopUntil(done, timeoutMs, 200);
}

} // namespace stellik::bench
