#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

namespace torumin {

class PostalTable;

// The postal service's list says in parentheses after a town area's name
// which part of the town a row stands for: 大通西（２０～２８丁目）, 藤野（１～５番地）,
// 藤野（その他）, 中央（次のビルを除く）, a building's 中央アエル（１５階） and
// 中央アエル（地階・階層不明）. Lists passed on by others often drop these notes,
// and then the rows of one name cannot be told apart.
struct TownNote {
    enum class Kind : std::uint8_t {
        None,      // no note, or one that narrows nothing (次のビルを除く)
        Chome,     // the 丁目 in `ranges`
        Banchi,    // the 番地 in `ranges`
        Floor,     // the building's floor `floor`
        Basement,  // the building's basement, or a floor not told
        Rest,      // その他: what the other rows of the name leave
        Unknown,   // a note this program does not read
    };
    Kind kind = Kind::None;
    int floor = 0;
    std::vector<std::pair<int, int>> ranges;  // inclusive
};

// A town field split into the town's name and its note.
struct TownField {
    QStringView name;
    TownNote note;
};

// The field is the whole town field, all of its records joined.
[[nodiscard]] TownField readTownField(QStringView field);

// Whether the note opened in this record goes on in the next record of the
// same code: a long note is spread over several.
[[nodiscard]] bool townNoteGoesOn(QStringView field);

// The fields that name no town area but say the code stands for the whole
// city or the rest of it (以下に掲載がない場合, …の次に番地がくる場合, 三宅村一円).
[[nodiscard]] bool meansNoTownArea(QStringView field, QStringView city);

// The town field of the row, with the records its note goes on in.
[[nodiscard]] QString wholeTownField(const PostalTable &table, int row);

// A row's note goes on in at most this many records after its first.
inline constexpr int kMaxNoteRecords = 16;

} // namespace torumin
