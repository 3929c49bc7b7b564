#pragma once

#include "app/settings/SettingsStore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

namespace torumin {

// Every section of a settings file with its keys.
using SettingsValues = QHash<QString, SectionValues>;

// Lines of a file that the program does not read (comments, text in another
// encoding, damaged lines), kept byte for byte so that a save does not drop
// what a person or another program put there.
struct PassedOverLine {
    QByteArray bytes;  // without its line end
    // The key that came next in its section: a comment stays above the key it
    // describes. Empty at a section's end or where no section applies.
    QString beforeKey;

    friend bool operator==(const PassedOverLine &, const PassedOverLine &) = default;
};
struct PassedOverLines {
    // Before the first section, or after a header that could not be read:
    // written back before every section, where they still count for nothing.
    QList<QByteArray> outsideSections;
    QHash<QString, QList<PassedOverLine>> bySection;

    [[nodiscard]] bool isEmpty() const noexcept { return outsideSections.isEmpty() && bySection.isEmpty(); }
    friend bool operator==(const PassedOverLines &, const PassedOverLines &) = default;
};

struct IniContent {
    SettingsValues values;
    PassedOverLines passedOver;
    // Lines that are neither a key, a section header, a comment nor blank:
    // broken text, a stray line, a key outside every section.
    int unusableLines = 0;
    int keyCount = 0;

    // Nothing could be read, yet there was something: better kept aside than
    // overwritten by the next save.
    [[nodiscard]] bool isUnreadable() const noexcept { return keyCount == 0 && unusableLines > 0; }
};

// The settings file as a person edits it: "[Section]" lines and "Key=Value"
// lines, UTF-8, keys written as they are ("Yubin_File(0)"). Files written by
// earlier versions of the program, with percent-escaped keys
// ("Yubin_File%280%29") and backslash escapes in values, read the same.
//
// Reading is line by line: a line that cannot be read (not UTF-8, a control
// character, no "=", outside every section) is passed over and counted, and
// the rest is kept. A byte order mark at the start is skipped. When a key
// appears twice in a section, the later line wins.
[[nodiscard]] IniContent parseIni(QByteArrayView bytes);

// The text parseIni reads back exactly, whatever the values hold (line ends,
// quotes, backslashes, spaces at either end, "=" and ";"); sections and keys
// in a fixed order, array keys by their index. The passed-over lines go back
// unchanged into their sections, and read back as passed over again.
[[nodiscard]] QByteArray formatIni(const SettingsValues &values, const PassedOverLines &passedOver = {});

} // namespace torumin
