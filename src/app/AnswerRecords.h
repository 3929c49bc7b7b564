#pragma once

#include "app/QueryOptions.h"

#include <QString>

namespace torumin {

class OfficeTable;
class PostalTable;

// What came of one query, in the structured formats' words: found,
// not_found, invalid (the query could not be read or was refused, which
// standard error tells), empty (an empty line of input).
enum class AnswerStatus { Found, NotFound, Invalid, Empty };

// One answer: one row of the list, or none.
struct AnswerRecord {
    QString query;  // as given; the words of a command line joined by tabs
    AnswerStatus status = AnswerStatus::Found;
    int row = -1;   // the row found
    int office = -1; // or the large office found, a row of the office list
    // Of an address read by --best: whether it named a town area (or only
    // the city), and what followed the name.
    bool namesTown = false;
    QString rest;
};

// The tsv, csv and json forms of answers: the same fields in the same
// order in each, with match and rest only for addresses read by --best. A
// large office fills office and office_rest (the block, number and building
// of its address) as well, and leaves the readings empty.
// CSV follows RFC 4180 (CR LF, quotes where a field needs them) and starts
// with a header line; TSV has no header and writes a tab, a line end or a
// backslash inside a field as \t, \n, \r or \\; JSON is one object a line,
// null for a field an answer without a row lacks.
[[nodiscard]] QString answerHeader(AnswerFormat format, bool best);
[[nodiscard]] QString answerLine(const PostalTable &table, const OfficeTable &offices, const AnswerRecord &record,
                                 AnswerFormat format, bool best);

} // namespace torumin
