#pragma once

#include <QString>
#include <QStringList>

namespace torumin {

class Options;
class SettingsStore;

// The search history lives in the options as K_Rireki(0) .. K_Rireki(19),
// oldest first, an empty string marking a free slot.
[[nodiscard]] QString historyKey(int slot);
[[nodiscard]] QStringList historyEntries(const Options &options);  // the non-empty ones, in slot order

// Records an entry: into the lowest free slot, or, when none is free or the
// result text ends in "。", by dropping slot 0 and moving every entry down one.
// Every slot that changes is written at once.
void addHistoryEntry(Options &options, SettingsStore &store, const QString &entry, const QString &resultText);

// Replaces the whole history by these entries, packed from slot 0: every slot is
// emptied and written first, then the kept entries are written again.
void commitHistory(Options &options, SettingsStore &store, const QStringList &entries);

// What a history line's copy puts on the clipboard: its first nine characters
// (the mark and the hyphenated code) and/or what follows its first
// ideographic space, joined by one when both are wanted.
[[nodiscard]] QString historyCopyText(const QString &line, bool copyCode, bool copyAddress);

} // namespace torumin
