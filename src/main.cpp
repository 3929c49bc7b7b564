#include "ui/ProgramMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return torumin::runProgram(app);
}
