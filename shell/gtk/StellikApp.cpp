// shell/gtk/StellikApp.cpp
#include "shell/gtk/StellikApp.h"

#include "documents/SettingsObj.h"
#include "documents/TestParser.h"
#include "package/XmlCrypt.h"
#include "shell/TransformProcessor.h"

namespace stellik {

TStellikApp::TStellikApp() : MainFrm(Window.GetView(), Window.GetDialogs(), Services) {
    Window.Attach(&MainFrm);
    Services.TestParserObj = std::make_unique<TTestParserObj>();
    Services.SettingsObj = std::make_unique<TSettingsObj>();
    Services.TransformProcessor = std::make_unique<TTransformProcessor>();
    XmlCryptManager = std::make_unique<TXmlCryptManager>();
    Services.XmlCryptManager = XmlCryptManager.get();
}

TStellikApp::~TStellikApp() {
    Window.Attach(nullptr);
    Services.XmlCryptManager = nullptr;
    XmlCryptManager.reset();
}

int TStellikApp::Run() {
    Show();
    gtk_main();
    Exit();
    return 0;
}

void TStellikApp::Exit() {
    if (Exited || !Services.SettingsObj) {
        return;
    }
    Exited = true;
    try {
        Services.SettingsObj->DataModuleDestroy();
    } catch (const std::exception& error) {
        Window.HandleException(error);
    }
}

} // namespace stellik
