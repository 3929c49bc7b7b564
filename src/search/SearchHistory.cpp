#include "search/SearchHistory.h"

#include "app/Options.h"
#include "app/SettingsKeys.h"
#include "app/settings/SettingsStore.h"

#include <vector>

namespace torumin {

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

// The history as stored now, into the options: another running instance may
// have recorded searches since this one last looked.
void takeStoredHistory(Options &options, const SectionValues &stored)
{
    for (int slot = 0; slot < kHistorySize; ++slot)
        options.set(historyKey(slot), stored.value(historyKey(slot)));
}

// Sets a slot in the options and lists it for the store.
void setSlot(Options &options, std::vector<SettingWrite> &writes, int slot, const QString &entry)
{
    options.set(historyKey(slot), entry);
    writes.push_back({Section::Rireki, historyKey(slot), entry});
}

} // namespace

void addHistoryEntry(Options &options, SettingsStore &store, const QString &entry, const QString &resultText)
{
    store.UpdateSection(Section::Rireki, [&](const SectionValues &stored) {
        takeStoredHistory(options, stored);
        std::vector<SettingWrite> writes;
        if (!resultText.endsWith(QStringLiteral("。"))) {
            for (int slot = 0; slot < kHistorySize; ++slot) {
                if (options.value(historyKey(slot)).isEmpty()) {
                    setSlot(options, writes, slot, entry);
                    return writes;
                }
            }
        }
        for (int slot = 0; slot < kHistorySize - 1; ++slot)
            setSlot(options, writes, slot, options.value(historyKey(slot + 1)));
        setSlot(options, writes, kHistorySize - 1, entry);
        return writes;
    });
}

void commitHistory(Options &options, SettingsStore &store, const QStringList &entries)
{
    // What the user was shown and edited; anything stored beyond it was
    // recorded by another instance meanwhile and is kept after the entries.
    QStringList shown = historyEntries(options);
    store.UpdateSection(Section::Rireki, [&](const SectionValues &stored) {
        takeStoredHistory(options, stored);
        QStringList kept = entries;
        for (const QString &entry : historyEntries(options)) {
            if (!shown.removeOne(entry))
                kept.append(entry);
        }
        while (kept.size() > kHistorySize)
            kept.removeFirst();
        std::vector<SettingWrite> writes;
        for (int slot = 0; slot < kHistorySize; ++slot)
            setSlot(options, writes, slot, QString());
        for (int slot = 0; slot < kept.size(); ++slot)
            setSlot(options, writes, slot, kept.at(slot));
        return writes;
    });
}

QString historyCopyText(const QString &line, bool copyCode, bool copyAddress)
{
    QString text;
    if (copyCode)
        text = line.left(9);
    if (copyCode && copyAddress)
        text += QStringLiteral("　");
    if (copyAddress) {
        const qsizetype space = line.indexOf(QStringLiteral("　"));
        text += space < 0 ? line : line.mid(space + 1);
    }
    return text;
}

} // namespace torumin
