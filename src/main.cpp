#include "app/ProgramCommandLine.h"
#include "ui/ProgramMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before the application object, which would want a display.
    if (const std::optional<int> status = torumin::answerInformationOptions(argc, argv))
        return *status;
    QApplication app(argc, argv);
    return torumin::runProgram(app);
}
