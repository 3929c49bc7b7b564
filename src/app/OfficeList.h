#pragma once

#include <QString>

namespace torumin {

class MessageBoxes;
class OfficeNameIndex;
class OfficePlaces;
struct Module1;

// The office list that goes with a postal-code list: JIGYOSYO.CSV or
// jigyosyo.zip, in any letter case, in the postal list's folder (where the
// postal service's two downloads are unpacked side by side); else the one
// bundled in the program folder. The CSV wins over the zip in one folder, as
// for the bundled postal list. Empty when there is none.
[[nodiscard]] QString officeListPathFor(const QString &postalListPath, const QString &programFolder);

// Loads the office list for the selected postal list into the state. The
// office list is a supplement: a missing or broken one never stops anything;
// it is said once in a message box, and what could be read is kept.
bool LoadOfficeTable(Module1 &state, MessageBoxes &boxes);

// The office-name search's index of the loaded office list, made on first use.
[[nodiscard]] const OfficeNameIndex &officeNameIndex(Module1 &state);
// The best pick's view of the offices and the postal list, made on first use.
[[nodiscard]] const OfficePlaces &officePlaces(Module1 &state);

// "22,428 件（2025/09/30 更新）", as loadedListSummary; empty when none is loaded.
[[nodiscard]] QString loadedOfficeSummary(const Module1 &state);

[[nodiscard]] QString missingOfficeListMessage();

} // namespace torumin
