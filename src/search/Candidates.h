#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace torumin {

class OfficePlaces;
class OfficeTable;
class PostalTable;
struct CandidateFormat;

// A free address split into its prefecture and, where one can be told, its
// city (suffix included). Both empty when no prefecture is recognised.
struct SplitAddress {
    QString prefecture;
    QString city;
    friend bool operator==(const SplitAddress &, const SplitAddress &) = default;
};

// Only the first fifteen characters are looked at. After 東京都 a ward, city,
// county or island (区/市/郡/島) at positions 5 to 15 ends the city; after any
// other prefecture only 市 or 郡 does, so a designated city's ward is not split
// off.
[[nodiscard]] SplitAddress splitAddress(QStringView address);

// The rows of the prefecture whose city begins with the split-off city (every
// row of the prefecture without one), in table order. None without a
// prefecture.
[[nodiscard]] std::vector<int> candidateRows(const PostalTable &table, const SplitAddress &address);

// The candidate the typed address names, as AddressMatcher tells it among
// these rows alone; -1 when it cannot tell or the address has no prefecture.
[[nodiscard]] int bestCandidateRow(const PostalTable &table, const std::vector<int> &rows, const SplitAddress &split,
                                   QStringView address);

// The same, where a large office of the address's place is named in it
// (OfficeAddressMatcher): that office, for a line of its own before the
// rows (officeCandidateLine), instead of the row.
struct CandidateChoice {
    int row = -1;
    int office = -1;
};
[[nodiscard]] CandidateChoice bestCandidate(const PostalTable &table, const std::vector<int> &rows,
                                            const SplitAddress &split, QStringView address, const OfficePlaces &places);

// How candidate lines are shown and copied: the YJ_Disp and YJ_Copy options.
struct CandidateFormat {
    bool mark = true;        // "〒" before the code
    bool hyphen = true;      // "-" inside the code
    bool prefecture = true;  // the prefecture before the city
    bool copyCode = true;
    bool copyAddress = true;
};

// "〒nnn-nnnn　" and the address, by the format; the empty string for a row
// whose city and town area are both empty.
[[nodiscard]] QString candidateLine(const PostalTable &table, int row, const QString &prefecture,
                                    const CandidateFormat &format);
[[nodiscard]] QStringList candidateLines(const PostalTable &table, const SplitAddress &address,
                                         const CandidateFormat &format);
[[nodiscard]] QStringList candidateLines(const PostalTable &table, const std::vector<int> &rows,
                                         const QString &prefecture, const CandidateFormat &format);
// A large office's line, in the form of the others: "〒nnn-nnnn　", its
// address and, after a U+3000, its name.
[[nodiscard]] QString officeCandidateLine(const OfficeTable &offices, int office, const CandidateFormat &format);

// What copying a candidate line puts on the clipboard: its code part (as long
// as the format it was built with makes it) and/or what follows its first
// ideographic space, joined by one when both are wanted.
[[nodiscard]] QString candidateCopyText(const QString &line, const CandidateFormat &format);

inline const QString kNoCandidatesMessage =
    QStringLiteral("入力された住所から、検索できませんでした。　入力住所を確認して下さい。　");
inline const QString kNoCandidatesTitle = QStringLiteral("入力住所確認");

} // namespace torumin
