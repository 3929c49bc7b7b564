#include "search/SearchHistory.h"

#include "app/Options.h"
#include "app/SettingsKeys.h"

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

void addHistoryEntry(Options &options, SettingsStore &store, const QString &entry, const QString &resultText)
{
    if (!resultText.endsWith(QStringLiteral("。"))) {
        for (int slot = 0; slot < kHistorySize; ++slot) {
            if (options.value(historyKey(slot)).isEmpty()) {
                options.store(store, historyKey(slot), entry);
                return;
            }
        }
    }
    for (int slot = 0; slot < kHistorySize - 1; ++slot)
        options.store(store, historyKey(slot), options.value(historyKey(slot + 1)));
    options.store(store, historyKey(kHistorySize - 1), entry);
}

void commitHistory(Options &options, SettingsStore &store, const QStringList &entries)
{
    for (int slot = 0; slot < kHistorySize; ++slot)
        options.store(store, historyKey(slot), QString());
    for (int slot = 0; slot < kHistorySize && slot < entries.size(); ++slot)
        options.store(store, historyKey(slot), entries.at(slot));
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
