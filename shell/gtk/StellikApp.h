// shell/gtk/StellikApp.h -- the program: its window, the window logic and the service modules
#pragma once

#include "shell/MainFrm.h"
#include "shell/gtk/MainWindow.h"

namespace stellik {

// Made in the start-up order: the window with its logic (which must not use the service
// modules yet), then the test parser, the settings, the page transformer and the decryptor.
// GTK must be initialised and the question kinds registered before.
class TStellikApp {
public:
    TStellikApp();
    ~TStellikApp();
    TStellikApp(const TStellikApp&) = delete;
    TStellikApp& operator=(const TStellikApp&) = delete;

    void Show() { Window.Show(); }
    // Shows the window, runs the main loop until the window closes, then Exit. Returns the
    // program's exit code.
    int Run();
    // The exit step, once: the settings module writes the examinee's data back when asked to;
    // a failure goes to the standard handler.
    void Exit();

    TMainWindow& GetWindow() { return Window; }
    TMainFrm& GetMainFrm() { return MainFrm; }
    TServiceModules& GetServices() { return Services; }

private:
    TServiceModules Services; // declared first: outlives the window and its logic
    TMainWindow Window;
    TMainFrm MainFrm;
    bool Exited = false;
};

} // namespace stellik
