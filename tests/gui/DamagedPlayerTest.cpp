// A damaged player in its real window: the standard handler's box tells what is wrong, no page
// is shown, and the window closes as usual.
#include "package/PackageKeys.h"
#include "platform/Resources.h"
#include "tests/gui/PlayerKit.h"
#include "tests/support/TemporaryHome.h"
#include "tools/pack/PackageBuilder.h"
#include "tools/pack/PlayerPack.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace stellik::testing {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// A copy of the built player whose resources change as damage says.
std::string
DamagedPlayer(const std::string& folder,
              const std::function<void(const std::string& name, std::string& bytes)>& damage) {
    const std::string program = ReadFile(BuiltPlayer());
    std::vector<std::pair<std::string, std::string>> resources = ReadResources(program);
    for (auto& [name, bytes] : resources) {
        damage(name, bytes);
    }
    const std::string path = folder + "/stellik";
    std::ofstream(path, std::ios::binary) << AppendResources(program, resources);
    return path;
}

// Starts the player, answers the box its load shows and closes the window; the box's text.
std::string MessageOfDamagedStart(const std::string& playerFile) {
    std::string message;
    TDialogAnswerer answerer([&](GtkWindow* dialog) {
        message = MessageText(dialog);
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    });
    TPlayer player(playerFile);
    player.App().Show();
    EXPECT_TRUE(RunUntil([&] { return answerer.Answered() == 1; }, 20000)) << "no box";
    RunFor(300);
    EXPECT_EQ(player.View().FinishedLoads(), 0);
    EXPECT_TRUE(player.Frame().GetLoaded());

    gtk_window_close(player.App().GetWindow().GetWindow());
    EXPECT_TRUE(RunUntil([&] { return player.App().GetWindow().IsClosed(); }));
    EXPECT_EQ(answerer.Answered(), 1); // closing asks nothing: nothing was run
    player.App().Exit();
    return message;
}

class DamagedPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TemporaryHome() + "/damaged-player";
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override { std::filesystem::remove_all(Folder); }

    std::string Folder;
};

TEST_F(DamagedPlayerTest, ACutPackageShowsItsMessageAndTheWindowCloses) {
    const std::string player =
        DamagedPlayer(Folder, [](const std::string& name, std::string& bytes) {
            if (name == "DVCF") {
                bytes.resize(bytes.size() / 2);
            }
        });
    EXPECT_EQ(MessageOfDamagedStart(player), "Not a zip archive");
}

TEST_F(DamagedPlayerTest, DamagedSettingsShowTheirMessageAndTheWindowCloses) {
    // The demo test packed as the packing tool packs it, with settings it would refuse.
    const TPackageKeys keys = MakePackageKeys(
        {reinterpret_cast<const uint8_t*>(PackagePassword.data()), PackagePassword.size()});
    const std::string package =
        BuildPackage({ReadFile(std::string(STELLIK_SOURCE_DIR) + "/demo/demo.xml"),
                      "<?xml version=\"1.0\"?><settings><save-results/></settings>",
                      {}},
                     keys.PublicKeyBlob);
    const std::string player =
        DamagedPlayer(Folder, [&](const std::string& name, std::string& bytes) {
            if (name == "DVCF") {
                bytes = package;
            } else if (name == "DVCK") {
                bytes.assign(keys.PrivateKeyBlob.Span().begin(), keys.PrivateKeyBlob.Span().end());
            }
        });
    EXPECT_EQ(MessageOfDamagedStart(player), "XML файл не является файлом настроек");
}

} // namespace
} // namespace stellik::testing
