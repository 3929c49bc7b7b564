#include "search/SearchHistory.h"

namespace torumin {

int recordInHistory(QStringList &slots, const QString &entry, const QString &resultText)
{
    while (slots.size() < kHistorySlots)
        slots.append(QString());
    if (!resultText.endsWith(QStringLiteral("。"))) {
        for (int slot = 0; slot < kHistorySlots; ++slot) {
            if (slots.at(slot).isEmpty()) {
                slots[slot] = entry;
                return slot;
            }
        }
    }
    slots.removeFirst();
    slots.insert(kHistorySlots - 1, entry);
    slots = slots.first(kHistorySlots);
    return -1;
}

QStringList keptHistory(const QStringList &slots, const QStringList &shown, const QStringList &kept)
{
    QStringList notShown = shown;
    QStringList result = kept;
    for (const QString &entry : slots) {
        if (!entry.isEmpty() && !notShown.removeOne(entry))
            result.append(entry);
    }
    while (result.size() > kHistorySlots)
        result.removeFirst();
    return result;
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
