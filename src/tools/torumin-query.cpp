#include "app/MessageLanguage.h"
#include "app/ProgramFolder.h"
#include "app/QueryTool.h"
#include "app/StandardInputDevice.h"
#include "app/StdioTextSink.h"
#include "app/settings/QtSettingsStore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TORUMIN"));
    QCoreApplication::setOrganizationName(QStringLiteral("TORUMIN"));

    torumin::StandardInputDevice in;
    torumin::StdioTextSink out(stdout);
    torumin::StdioTextSink err(stderr);
    const auto settings = torumin::QtSettingsStore::openDefaultReadOnly();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return torumin::runQueryTool(arguments,
                                 {in, out, err, torumin::StandardInputDevice::isTerminal(),
                                  !torumin::StandardInputDevice::isFile(), torumin::messageLanguageOfEnvironment()},
                                 *settings, torumin::programFolder());
}
