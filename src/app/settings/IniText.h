#pragma once

#include "app/settings/SettingsStore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace torumin {

// Every section of a settings file with its keys.
using SettingsValues = QHash<QString, SectionValues>;

struct IniContent {
    SettingsValues values;
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
// in a fixed order, array keys by their index.
[[nodiscard]] QByteArray formatIni(const SettingsValues &values);

} // namespace torumin
