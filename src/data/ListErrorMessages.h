#pragma once

#include "data/ListByteSource.h"
#include "data/PostalListReader.h"

#include <QString>

#include <cstdint>
#include <string_view>

namespace torumin {

// The user's text for each way a list can fail to load. Every message starts
// with the same line for its kind of list, names the file, says what is wrong and, when part of
// the list was read, how many records were kept.
ListError cannotOpenError(ListKind kind, const QString &path, FileByteSource::OpenStatus status,
                          const QString &systemText);
ListError tooLargeError(ListKind kind, const QString &path, std::int64_t size);
ListError readFailedError(ListKind kind, const QString &path, std::int64_t offset, const QString &systemText,
                          int keptRecords);
ListError outOfMemoryError(ListKind kind, const QString &path, std::int64_t offset, int keptRecords);
ListError noConverterError(ListKind kind, const QString &path);
ListError notCp932Error(ListKind kind, const QString &path, std::int64_t offset, int keptRecords);
ListError truncatedError(ListKind kind, const QString &path, std::int64_t offset, int keptRecords);
ListError notUtf8Error(ListKind kind, const QString &path, std::int64_t offset, int keptRecords);
// `fields` is how many the line has, or negative for more than fifteen.
ListError fieldCountError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line, int fields,
                          int keptRecords);
ListError unclosedQuoteError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line, int keptRecords);
// A field of fixed form holding something else; `value` is its bytes as found.
ListError badPostalCodeError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line,
                             std::string_view value, int keptRecords);
ListError badLocalGovernmentCodeError(ListKind kind, const QString &path, std::int64_t offset, std::int64_t line,
                                      std::string_view value, int keptRecords);
// Read to the end without a fault, and not one record in it.
ListError noRecordsError(ListKind kind, const QString &path);

// How an archive's entry is named in messages: the archive's path and the
// entry's name inside it.
QString archiveEntryName(const QString &archivePath, const QString &entryName);
ListError damagedArchiveError(ListKind kind, const QString &path, const QString &systemText);
ListError noListInArchiveError(ListKind kind, const QString &path);
// `entries` names every .csv entry found.
ListError severalListsInArchiveError(ListKind kind, const QString &path, const QString &entries);
ListError encryptedEntryError(ListKind kind, const QString &entry);
ListError unsupportedEntryError(ListKind kind, const QString &entry, const QString &systemText);
ListError damagedEntryError(ListKind kind, const QString &entry, std::int64_t offset, const QString &systemText,
                            int keptRecords);

} // namespace torumin
