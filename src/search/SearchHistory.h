#pragma once

#include <QString>
#include <QStringList>

namespace torumin {

// The search history's twenty slots, oldest first, an empty string marking a
// free slot.
inline constexpr int kHistorySlots = 20;

// Records an entry in the slots: into the lowest free one, or, when none is
// free or the result text ends in "。", by dropping slot 0 and moving every
// entry down one. The slots are padded to kHistorySlots first. Returns the
// slot written, or -1 when every slot moved.
int recordInHistory(QStringList &slots, const QString &entry, const QString &resultText);

// The slots after a history window's OK: the entries the user kept, then
// what the slots hold beyond those the window showed (recorded by another
// instance meanwhile), the newest twenty, packed from slot 0.
[[nodiscard]] QStringList keptHistory(const QStringList &slots, const QStringList &shown, const QStringList &kept);

// What a history line's copy puts on the clipboard: its first nine characters
// (the mark and the hyphenated code) and/or what follows its first
// ideographic space, joined by one when both are wanted.
[[nodiscard]] QString historyCopyText(const QString &line, bool copyCode, bool copyAddress);

} // namespace torumin
