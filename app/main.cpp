// Start-up: separators and reference date first, then the data modules and
// the main window, then one of the four start modes by the first argument.
#include "app/DataModulesUnit.h"
#include "app/StartupUnit.h"
#include "dictionary/LanguageUnit.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>

int main(int argc, char *argv[])
{
    dictionary::InitStartupValues();
    // Batch runs need no display: with none, Qt draws offscreen.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    // Qt takes the user's locale for everything; number texts stay ours.
    std::setlocale(LC_NUMERIC, "C");
    return app::RunProgram(argc > 1 ? std::string(argv[1]) : std::string());
}
