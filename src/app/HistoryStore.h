#pragma once

#include <QString>
#include <QStringList>

namespace torumin {

class Options;
class SettingsStore;

// The search history lives in the options as K_Rireki(0) .. K_Rireki(19)
// and in the store's [Rireki] section (the rules: search/SearchHistory.h).
[[nodiscard]] QString historyKey(int slot);
[[nodiscard]] QStringList historyEntries(const Options &options);  // the non-empty ones, in slot order

// Records an entry as recordInHistory does, on the history as stored now,
// so that an entry another running instance recorded is moved along rather
// than overwritten; every slot that changes is written at once, in one step.
void addHistoryEntry(Options &options, SettingsStore &store, const QString &entry, const QString &resultText);

// Replaces the history the options hold by these entries, packed from slot 0:
// every slot is emptied, then the kept entries are written again, in one step.
// Entries another instance stored since the options were read follow them.
void commitHistory(Options &options, SettingsStore &store, const QStringList &entries);

} // namespace torumin
