#include "app/ProgramFolder.h"
#include "app/QueryTool.h"
#include "app/settings/QtSettingsStore.h"
#include "tools/ConsoleOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool standardInputIsTerminal()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(fileno(stdin)) != 0;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("TORUMIN"));
    QCoreApplication::setOrganizationName(QStringLiteral("TORUMIN"));

    QTextStream in(stdin);
    torumin::ConsoleOutput standardOutput(stdout);
    torumin::ConsoleOutput standardError(stderr);
    QTextStream out(&standardOutput);
    QTextStream err(&standardError);
    in.setEncoding(QStringConverter::Utf8);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);

    const auto settings = torumin::QtSettingsStore::openDefaultReadOnly();
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return torumin::runQueryTool(arguments, {in, out, err, standardInputIsTerminal()}, *settings,
                                 torumin::programFolder());
}
