#include "data/PostalListReader.h"

#include "data/ListByteSource.h"
#include "data/ListErrorMessages.h"
#include "data/ListParser.h"
#include "data/ZipEntrySource.h"

#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>
#endif

namespace torumin {

namespace {

ListReadResult readArchive(ZipEntrySource &archive, ZipEntrySource::OpenStatus status,
                           const QString &name)
{
    const QString entry = archiveEntryName(name, archive.entryName());
    switch (status) {
    case ZipEntrySource::OpenStatus::Opened:
        return detail::parsePostalList(archive, entry);
    case ZipEntrySource::OpenStatus::CannotOpen:
        return {PostalTable(),
                cannotOpenError(name, FileByteSource::OpenStatus::OtherError, archive.errorText())};
    case ZipEntrySource::OpenStatus::Damaged:
        return {PostalTable(), damagedArchiveError(name, archive.errorText())};
    case ZipEntrySource::OpenStatus::NoList:
        return {PostalTable(), noListInArchiveError(name)};
    case ZipEntrySource::OpenStatus::SeveralLists:
        return {PostalTable(), severalListsInArchiveError(name, archive.entryName())};
    case ZipEntrySource::OpenStatus::Encrypted:
        return {PostalTable(), encryptedEntryError(entry)};
    case ZipEntrySource::OpenStatus::Unsupported:
        return {PostalTable(), unsupportedEntryError(entry, archive.errorText())};
    case ZipEntrySource::OpenStatus::TooLarge:
        return {PostalTable(), tooLargeError(entry, archive.entrySize())};
    case ZipEntrySource::OpenStatus::OutOfMemory:
        break;
    }
    return {PostalTable(), outOfMemoryError(name, 0, 0)};
}

} // namespace

ListReadResult readPostalListFile(const QString &path)
{
    FileByteSource source;
    const FileByteSource::OpenStatus status = source.open(path);
    if (status != FileByteSource::OpenStatus::Opened)
        return {PostalTable(), cannotOpenError(path, status, source.errorText())};
    if (source.fileSize() > kMaxListFileBytes)
        return {PostalTable(), tooLargeError(path, source.fileSize())};
    char head[4];
    const std::int64_t peeked = source.peek(head, sizeof head);
    if (isListArchive(std::string_view(head, static_cast<std::size_t>(std::max<std::int64_t>(peeked, 0))), path)) {
        ZipEntrySource archive;
        return readArchive(archive, archive.openFile(path), path);
    }
    return detail::parsePostalList(source, path);
}

ListReadResult readPostalListBytes(std::string_view bytes, const QString &nameForMessages)
{
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (size > kMaxListFileBytes)
        return {PostalTable(), tooLargeError(nameForMessages, size)};
    if (isListArchive(bytes, nameForMessages)) {
        ZipEntrySource archive;
        return readArchive(archive, archive.openBytes(bytes), nameForMessages);
    }
    MemoryByteSource source(bytes);
    return detail::parsePostalList(source, nameForMessages);
}

bool postalListExists(const QString &path)
{
    if (path.isEmpty())
        return false;
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(path);
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<LPCWSTR>(native.utf16()));
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes
            & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
#else
    // isFile() is false for folders, FIFOs and devices alike.
    const QFileInfo info(path);
    return info.isFile() && !info.fileName().startsWith(u'.');
#endif
}

} // namespace torumin
