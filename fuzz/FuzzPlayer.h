// fuzz/FuzzPlayer.h -- the window logic over a player in memory, for the targets that drive it
#pragma once

#include "package/XmlCrypt.h"
#include "shell/MainFrm.h"
#include "shell/ViewInterfaces.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace stellik::fuzz {

// A view that keeps nothing but the size of the last page.
class TQuietView : public IPageView {
public:
    void LoadHtml(std::string_view html) override { LastPageSize = html.size(); }
    void ReplaceImage(const std::string&) override {}
    void OpenExternal(const std::string&) override {}

    size_t LastPageSize = 0;
};

// Dialogs a user confirms: every question answered Yes, every file dialog cancelled.
class TYesDialogs : public IDialogs {
public:
    TMsgResult MessageBox(const std::string&, TMsgButtons buttons, TMsgIcon) override {
        return buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Yes;
    }
    void ShowException(const std::exception&) override {}
    bool ExecuteFileDialog(const TFileDialogOptions&, std::string&) override { return false; }
};

// The program's resources (the DTDs, the page stylesheet) and the demo test with its settings
// and pictures, packed for the fuzz key pair, in the given run mode ("step", "sepmsg", "list").
std::map<std::string, std::string> FuzzPlayerResources(std::string_view runMode);

// A window made as the program entry makes it, loaded from FuzzPlayerResources(runMode).
// Loading throws when the player cannot start.
class TFuzzPlayer {
public:
    explicit TFuzzPlayer(std::string_view runMode);
    ~TFuzzPlayer();
    TFuzzPlayer(const TFuzzPlayer&) = delete;
    TFuzzPlayer& operator=(const TFuzzPlayer&) = delete;

    TMainFrm& Frame() { return *Window; }

private:
    TQuietView View;
    TYesDialogs Dialogs;
    TXmlCryptManager Crypt;
    TServiceModules Services;
    std::unique_ptr<TMainFrm> Window;
};

} // namespace stellik::fuzz
