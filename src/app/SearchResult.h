#pragma once

#include <QString>

namespace torumin {

class SettingsStore;
struct Module1;

// The search modes, by the index of their search menu item.
enum SearchModeIndex : int {
    kModeCodeToAddress = 0,
    kModeAddressToCode = 1,
    kModeKanaToCode = 2,
    kModeFreeAddress = 3,
    kModeOfficeName = 4,
};

struct SearchResult {
    QString text;          // for the result box
    bool repeat = false;   // continuous search: open the same dialog again
};

// Looks up the confirmed search of the current mode (0 to 2, 4) in the table,
// saves its conditions as far as the options ask, and records it in the
// history. The caller shows the text and, when asked to, repeats the search.
SearchResult ShowSearchResult(Module1 &state, SettingsStore &store);

} // namespace torumin
