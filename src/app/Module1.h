#pragma once

#include "app/Options.h"
#include "data/OfficeTable.h"
#include "data/PostalTable.h"

#include <QDateTime>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

namespace torumin {

class MessageBoxes;
class OfficeNameIndex;
class OfficePlaces;
class SettingsStore;

// The program-wide state every window shares: the current options (which hold
// the search state and the history under their key names), the postal record
// table, and the search mode and flag. One instance lives for the whole run;
// windows get it by reference.
struct Module1 {
    QString AppName = QStringLiteral("TORUMIN");
    QString programFolder;  // holds the executable, no trailing separator
    QString HelpFilePath;
    Options options;
    PostalTable table;
    QString tablePath;         // the list the table was read from, empty before a load
    QDateTime tableDataDate;   // how old its data is (listDataDate), to tell how fresh the list is
    // The large offices' own codes, loaded with the postal list (OfficeList.h).
    OfficeTable offices;
    QString officesPath;
    QDateTime officesDataDate;
    // Built for the first office-name search after each load (officeNameIndex()).
    std::shared_ptr<const OfficeNameIndex> officeNames;
    // The same for the best pick (officePlaces()); it refers to the table too.
    std::shared_ptr<const OfficePlaces> officePlaces;
    int pickedOffice = -1;  // the office-name search's choice, a row of offices
    int SearchMode = 0;
    int searchRequested = 0;
    // The table row the address dialog's town was picked from its list as,
    // for the search it confirms; -1 for a typed town. Never stored: a row
    // means something only in the table it was picked from.
    int pickedTownRow = -1;
};

// What start-up needs from the windowing side.
struct StartUpEnvironment {
    QString programFolder;
    QSizeF screenTwips;
    std::function<void()> showSplash;   // modal: returns when the splash has closed itself
    std::function<void()> closeSplash;  // harmless when it is already gone
};

// Reads every setting (writing the defaults of empty keys), shows the splash,
// loads the selected list and works out the default window positions. The
// caller shows the main window afterwards.
void StartUp(Module1 &state, SettingsStore &store, MessageBoxes &boxes, const StartUpEnvironment &env);

// The selected slot: OptSen rounded, anything outside 0..7 (a hand-edited
// store) taken as slot 0.
[[nodiscard]] int selectedSlot(const Options &options);
[[nodiscard]] QString selectedListPath(const Options &options);

// Replaces the table with the selected list. A list that cannot be read in full
// is reported in a message box; the records read before the problem are kept.
// Returns false when there was a problem.
bool LoadPostalTable(Module1 &state, MessageBoxes &boxes);

// Switches to the selected list after the user chose another slot. Unlike the
// load at start-up, the table in use is kept unless the new list reads
// completely: a missing list gets the missing-list message, a broken one its
// own message, and the user keeps searching in what was loaded. With a new
// list comes the office list that goes with it.
bool ReloadPostalTable(Module1 &state, MessageBoxes &boxes);

// "124,495 件（2025/09/30 更新）": what the table holds, for the windows that
// tell the user how fresh the list is. Empty before a list was loaded.
[[nodiscard]] QString loadedListSummary(const Module1 &state);

[[nodiscard]] QString missingListMessage();
[[nodiscard]] QString listMessageTitle();

} // namespace torumin
