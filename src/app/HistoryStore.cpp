#include "app/HistoryStore.h"

#include "app/Options.h"
#include "app/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "search/SearchHistory.h"

#include <vector>

namespace torumin {

static_assert(kHistorySize == kHistorySlots);

QString historyKey(int slot)
{
    return arrayKey(QStringLiteral("K_Rireki"), slot);
}

QStringList historyEntries(const Options &options)
{
    QStringList entries;
    for (int slot = 0; slot < kHistorySize; ++slot) {
        const QString entry = options.value(historyKey(slot));
        if (!entry.isEmpty())
            entries.append(entry);
    }
    return entries;
}

namespace {

// The history as stored now: another running instance may have recorded
// searches since this one last looked.
QStringList storedSlots(const SectionValues &stored)
{
    QStringList slots;
    for (int slot = 0; slot < kHistorySize; ++slot)
        slots.append(stored.value(historyKey(slot)));
    return slots;
}

// Sets a slot in the options and lists it for the store.
void setSlot(Options &options, std::vector<SettingWrite> &writes, int slot, const QString &entry)
{
    options.set(historyKey(slot), entry);
    writes.push_back({Section::Rireki, historyKey(slot), entry});
}

void takeSlots(Options &options, const QStringList &slots)
{
    for (int slot = 0; slot < kHistorySize; ++slot)
        options.set(historyKey(slot), slots.value(slot));
}

} // namespace

void addHistoryEntry(Options &options, SettingsStore &store, const QString &entry, const QString &resultText)
{
    store.UpdateSection(Section::Rireki, [&](const SectionValues &stored) {
        QStringList slots = storedSlots(stored);
        const int written = recordInHistory(slots, entry, resultText);
        takeSlots(options, slots);
        // One slot, or every slot of a history that moved along.
        std::vector<SettingWrite> writes;
        for (int slot = 0; slot < kHistorySize; ++slot) {
            if (written < 0 || slot == written)
                setSlot(options, writes, slot, slots.at(slot));
        }
        return writes;
    });
}

void commitHistory(Options &options, SettingsStore &store, const QStringList &entries)
{
    // What the user was shown and edited; anything stored beyond it was
    // recorded by another instance meanwhile and is kept after the entries.
    const QStringList shown = historyEntries(options);
    store.UpdateSection(Section::Rireki, [&](const SectionValues &stored) {
        const QStringList kept = keptHistory(storedSlots(stored), shown, entries);
        // Every slot emptied, then the kept ones written again.
        std::vector<SettingWrite> writes;
        for (int slot = 0; slot < kHistorySize; ++slot)
            setSlot(options, writes, slot, QString());
        for (int slot = 0; slot < kept.size(); ++slot)
            setSlot(options, writes, slot, kept.at(slot));
        return writes;
    });
}

} // namespace torumin
