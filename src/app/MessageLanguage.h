#pragma once

#include <QString>

namespace torumin {

// The language of the command-line programs' own words (help, complaints).
// The search results and the check messages are the program's texts and
// read as the windows show them in either.
enum class MessageLanguage { English, Japanese };

// By the locale's message category as POSIX orders it: LC_ALL, else
// LC_MESSAGES, else LANG, whichever is set first. Japanese for a locale of
// the Japanese language (ja, ja_JP.UTF-8 …), English for any other or none.
[[nodiscard]] MessageLanguage messageLanguageOf(const QString &lcAll, const QString &lcMessages,
                                                const QString &lang);

// The same for this process's environment; on Windows, where those are
// rarely set, the user's interface language when none of them is.
[[nodiscard]] MessageLanguage messageLanguageOfEnvironment();

} // namespace torumin
