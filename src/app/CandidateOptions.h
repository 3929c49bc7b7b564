#pragma once

#include "search/Candidates.h"

#include <QString>

namespace torumin {

class Options;

// The candidate lines' form from the YJ_Disp and YJ_Copy options.
[[nodiscard]] CandidateFormat candidateFormat(const Options &options);

// The candidate window's heights in twips for the font-size and row-count
// options: the list, the window, and the buttons' top.
struct CandidateWindowHeights {
    double list = 0;
    double window = 0;
    double buttonsTop = 0;
    friend bool operator==(const CandidateWindowHeights &, const CandidateWindowHeights &) = default;
};
[[nodiscard]] CandidateWindowHeights candidateWindowHeights(const QString &optYBsize, const QString &optYBketa);

} // namespace torumin
