#pragma once

#include "data/ListByteSource.h"
#include "data/PostalListReader.h"

#include <QString>

#include <cstdint>
#include <string_view>

namespace torumin {

// The user's text for each way a list can fail to load. Every message starts
// with the same line, names the file, says what is wrong and, when part of
// the list was read, how many records were kept.
ListError cannotOpenError(const QString &path, FileByteSource::OpenStatus status,
                          const QString &systemText);
ListError tooLargeError(const QString &path, std::int64_t size);
ListError readFailedError(const QString &path, std::int64_t offset, const QString &systemText,
                          int keptRecords);
ListError outOfMemoryError(const QString &path, std::int64_t offset, int keptRecords);
ListError noConverterError(const QString &path);
ListError notCp932Error(const QString &path, std::int64_t offset, int keptRecords);
ListError truncatedError(const QString &path, std::int64_t offset, int keptRecords);
ListError notUtf8Error(const QString &path, std::int64_t offset, int keptRecords);
// `fields` is how many the line has, or negative for more than fifteen.
ListError fieldCountError(const QString &path, std::int64_t offset, std::int64_t line, int fields,
                          int keptRecords);
ListError unclosedQuoteError(const QString &path, std::int64_t offset, std::int64_t line, int keptRecords);
// A field of fixed form holding something else; `value` is its bytes as found.
ListError badPostalCodeError(const QString &path, std::int64_t offset, std::int64_t line,
                             std::string_view value, int keptRecords);
ListError badLocalGovernmentCodeError(const QString &path, std::int64_t offset, std::int64_t line,
                                      std::string_view value, int keptRecords);
// Read to the end without a fault, and not one record in it.
ListError noRecordsError(const QString &path);

// How an archive's entry is named in messages: the archive's path and the
// entry's name inside it.
QString archiveEntryName(const QString &archivePath, const QString &entryName);
ListError damagedArchiveError(const QString &path, const QString &systemText);
ListError noListInArchiveError(const QString &path);
// `entries` names every .csv entry found.
ListError severalListsInArchiveError(const QString &path, const QString &entries);
ListError encryptedEntryError(const QString &entry);
ListError unsupportedEntryError(const QString &entry, const QString &systemText);
ListError damagedEntryError(const QString &entry, std::int64_t offset, const QString &systemText,
                            int keptRecords);

} // namespace torumin
