#pragma once

#include "data/ListLayout.h"
#include "data/PostalTable.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

namespace torumin {

enum class ListErrorCode {
    CannotOpen,  // missing, a folder, no permission, vanished since the existence check
    ReadFailed,  // an I/O error part way through
    NotCp932,    // bytes that are not Windows code page 932
    Truncated,   // the last record stops before its fifteenth field
    MalformedLine, // a line with more or fewer than fifteen fields, a quote it never closes, or a
                   // postal code (local-government code) that is not seven (five) digits
    NoRecords,     // read to the end, and not one record in it
    TooLarge,    // far beyond any real list (for an archive: its list, unpacked)
    NotUtf8,     // a list found to be UTF-8 has bytes that are not
    ArchiveDamaged,     // not a zip archive after all, or one that fails its checks
    NoListInArchive,    // a zip archive without a .csv file
    SeveralListsInArchive, // a zip archive with more than one .csv file
    ArchiveEncrypted,   // the list in the archive needs a password
    ArchiveUnsupported, // the list in the archive is compressed by a method not available
};

struct ListError {
    ListErrorCode code;
    std::int64_t byteOffset = 0;  // where the problem was found, when it has a place
    QString message;              // the user's text: names the file and what is wrong
};

// What a read gives: the complete records read (all of them when there is no
// error; those before the problem otherwise) and the problem, if any.
struct ListReadResult {
    PostalTable table;
    std::optional<ListError> error;
};

// Lists larger than this are refused before reading: the nationwide list is
// about 12 MB, so anything this size is not a postal-code list.
inline constexpr std::int64_t kMaxListFileBytes = 256LL * 1024 * 1024;

// Reads a list in the KEN_ALL.CSV layout: one record a line (CR LF, LF or CR
// ending it), fifteen fields separated by commas, of which fields 3 to 9 and
// field 1 (the local-government code) are kept. A field that starts with a double quote runs to the next double
// quote, commas included, which must come before the line ends. Blank lines
// hold no record. A line with more or fewer fields stops the read there with
// its line number in the message, so no record is ever made of two lines.
// So does a postal code that is not seven digits or a local-government code
// that is not five: lines of the right shape holding something else are not
// a postal-code list. A list without a single record is an error too.
//
// Both editions the postal service publishes are read: code page 932, and
// UTF-8 (with or without a byte order mark). Which one a list is follows from
// its first bytes outside ASCII; a list with none reads the same either way.
// The UTF-8 edition's full-width readings are folded to the half-width ones
// of the other (see HalfWidthKana.h), so both give the same table.
//
// Either may come as the zip archive it is downloaded in, known by its first
// bytes or by the name ending in ".zip"; the list is the archive's one .csv
// file (see listEntryCandidates in ZipEntrySource.h), inflated as it is read.
ListReadResult readPostalListFile(const QString &path);
ListReadResult readPostalListBytes(std::string_view bytes, const QString &nameForMessages);

// The same rules for either list the postal service publishes (see
// ListLayout.h): the table holds the layout's kept fields as its seven columns.
ListReadResult readListFile(const QString &path, const ListLayout &layout);
ListReadResult readListBytes(std::string_view bytes, const QString &nameForMessages, const ListLayout &layout);

// The existence check made before loading: a normal file (not a folder, not
// hidden: a dot-file on Unix, the hidden or system attribute on Windows). An
// archive passes it like any other file; what is inside is checked on loading.
bool postalListExists(const QString &path);

} // namespace torumin
