#pragma once

#include "app/MessageLanguage.h"

#include <QString>
#include <QStringList>

class QIODevice;

namespace torumin {

class SettingsStore;
class TextSink;

// The command-line face of the searches: prints exactly what the result box
// would show, for one query given as arguments or for every line of standard
// input, with the list loaded once; and the free-address candidates, or the
// one an address names, for one address or for every line of standard input.
// --format gives the fields of each answer instead, for programs to read.
//
// Without --list the selected slot's list of the settings is used; the
// settings are only read. Returns the process's exit status.
struct QueryStreams {
    QIODevice &in;
    TextSink &out;
    TextSink &err;
    // With no query on the command line and a person at the keyboard, the
    // usage is more use than a wait for lines.
    bool inputIsTerminal = false;
    // Standard input is not a file (a terminal, a pipe from a program that
    // waits for each answer): every answer goes out as soon as its line is
    // read, rather than when the output's buffer fills.
    bool answerEachLine = false;
    MessageLanguage language = MessageLanguage::English;
};
int runQueryTool(const QStringList &arguments, QueryStreams streams, const SettingsStore &settings,
                 const QString &programFolder);

inline constexpr int kQueryExitOk = 0;
inline constexpr int kQueryExitNoResult = 1;  // a search found nothing
// Bad input or arguments, a list that cannot be read, or output that cannot
// be written.
inline constexpr int kQueryExitError = 2;

} // namespace torumin
