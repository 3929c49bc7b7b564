#pragma once

#include "app/MessageLanguage.h"

#include <QStringList>

#include <optional>

namespace torumin {

class TextSink;

// The options torumin answers itself, before anything of a window exists:
// --help (-h) and --version print and end the program, so they need no
// display. Nothing when the arguments (up to a "--") ask for neither; the
// options of Qt are Qt's. Otherwise the exit status: 0, or 2 when standard
// output could not take the text.
[[nodiscard]] std::optional<int> answerInformationOptions(const QStringList &arguments, TextSink &out, TextSink &err,
                                                          MessageLanguage language);

// The same on the process's own arguments, standard output and error.
[[nodiscard]] std::optional<int> answerInformationOptions(int argc, char **argv);

} // namespace torumin
