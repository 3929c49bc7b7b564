#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace torumin {

class SettingsStore;

// The command-line face of the searches: prints exactly what the result box
// would show, for one query given as arguments or for every line of standard
// input, with the list loaded once; and the free-address candidates, or the
// one an address names, for one address or for every line of standard input.
// kQueryUsage is the synopsis; --help explains the rest.
//
// Without --list the selected slot's list of the settings is used; the
// settings are only read. Returns the process's exit status.
struct QueryStreams {
    QTextStream &in;
    QTextStream &out;
    QTextStream &err;
    // With no query on the command line and a person at the keyboard, the
    // usage is more use than a wait for lines.
    bool inputIsTerminal = false;
};
int runQueryTool(const QStringList &arguments, QueryStreams streams, const SettingsStore &settings,
                 const QString &programFolder);

inline constexpr int kQueryExitOk = 0;
inline constexpr int kQueryExitNoResult = 1;  // a search found nothing
inline constexpr int kQueryExitError = 2;     // bad input or arguments, or the list cannot be read

} // namespace torumin
