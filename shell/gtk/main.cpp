// shell/gtk/main.cpp -- the program entry: no arguments, one window, one test
#include "model/QuestionManager.h"
#include "shell/gtk/GtkDialogs.h"
#include "shell/gtk/StellikApp.h"

#include <gtk/gtk.h>

#include <clocale>

int main() {
    // Number answers and the timer's time follow the user's locale.
    std::setlocale(LC_ALL, "");
    gtk_init(nullptr, nullptr);
    stellik::RegisterQuestionKinds();
    try {
        stellik::TStellikApp app;
        return app.Run();
    } catch (const std::exception& error) {
        // Start-up itself failed: the box is all the user gets.
        stellik::TGtkDialogs().ShowException(error);
        return 1;
    }
}
