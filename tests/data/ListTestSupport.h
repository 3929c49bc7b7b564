#pragma once

#include "data/PostalTable.h"

#include <QString>

#include <array>
#include <ctime>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace torumin::test {

// The seven kept fields of a row, as UTF-8 for readable expectations.
using Row = std::array<std::string, kPostalColumnCount>;

std::vector<Row> rowsOf(const PostalTable &table);

// UTF-8 text as CP932 bytes, through the system's encoder: the opposite
// direction from the reader, so the two never share a mistake.
std::string toCp932(std::string_view utf8);

std::string readWholeFile(const QString &path);
void writeWholeFile(const QString &path, std::string_view bytes);

QString fixturePath(const char *name);

// A zip archive made by libzip in memory, entries in the given order, at the
// fastest compression level: the level changes nothing for the reader.
struct ZipEntry {
    std::string name;
    std::string bytes;
    bool stored = false; // otherwise deflated
    std::time_t modified = 0; // the entry's recorded time; 0 for the time of making
};
std::string zipArchive(const std::vector<ZipEntry> &entries);

} // namespace torumin::test
