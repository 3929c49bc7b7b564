#pragma once

#include <QString>
#include <QStringList>

class QTextStream;

namespace torumin {

class SettingsStore;

// The command-line face of the searches: prints exactly what the result box
// would show, for one query given as arguments or for every line of standard
// input, with the list loaded once.
//
//   torumin-query [--list FILE] CODE
//   torumin-query [--list FILE] [--kana] CITY TOWN
//   torumin-query [--list FILE] [--kana]            (queries on standard input:
//                                                    a code, or city TAB town)
//   torumin-query [--list FILE] --candidates [--best] ADDRESS
//                                                   (the candidate window's lines,
//                                                    or only the one it selects)
//
// Without --list the selected slot's list of the settings is used; the
// settings are only read. Returns the process's exit status: 0 on success,
// 1 when a candidate search finds nothing, 2 for bad arguments or a list that
// cannot be read.
struct QueryStreams {
    QTextStream &in;
    QTextStream &out;
    QTextStream &err;
};
int runQueryTool(const QStringList &arguments, QueryStreams streams, const SettingsStore &settings,
                 const QString &programFolder);

inline constexpr int kQueryExitOk = 0;
inline constexpr int kQueryExitNoResult = 1;
inline constexpr int kQueryExitError = 2;

} // namespace torumin
