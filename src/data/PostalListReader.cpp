#include "data/PostalListReader.h"

#include "data/ListByteSource.h"
#include "data/ListErrorMessages.h"
#include "data/ListParser.h"
#include "data/ZipEntrySource.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <thread>

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>
#endif

namespace torumin {

namespace {

ListReadResult readArchive(ZipEntrySource &archive, ZipEntrySource::OpenStatus status, const ListLayout &layout,
                           const QString &name)
{
    const ListKind kind = layout.kind;
    const QString entry = archiveEntryName(name, archive.entryName());
    switch (status) {
    case ZipEntrySource::OpenStatus::Opened:
        return detail::parseList(archive, layout, entry);
    case ZipEntrySource::OpenStatus::CannotOpen:
        return {PostalTable(),
                cannotOpenError(kind, name, FileByteSource::OpenStatus::OtherError, archive.errorText())};
    case ZipEntrySource::OpenStatus::Damaged:
        return {PostalTable(), damagedArchiveError(kind, name, archive.errorText())};
    case ZipEntrySource::OpenStatus::NoList:
        return {PostalTable(), noListInArchiveError(kind, name)};
    case ZipEntrySource::OpenStatus::SeveralLists:
        return {PostalTable(), severalListsInArchiveError(kind, name, archive.entryName())};
    case ZipEntrySource::OpenStatus::Encrypted:
        return {PostalTable(), encryptedEntryError(kind, entry)};
    case ZipEntrySource::OpenStatus::Unsupported:
        return {PostalTable(), unsupportedEntryError(kind, entry, archive.errorText())};
    case ZipEntrySource::OpenStatus::TooLarge:
        return {PostalTable(), tooLargeError(kind, entry, archive.entrySize())};
    case ZipEntrySource::OpenStatus::OutOfMemory:
        break;
    }
    return {PostalTable(), outOfMemoryError(kind, name, 0, 0)};
}

// Below this a list is read in one pass: the office list (2.5 MB) takes a
// few milliseconds, and two halves would each keep a partly used huge page.
constexpr std::int64_t kHalvesMinBytes = std::int64_t{4} << 20;

// The bytes a peek copied into `buffer`: none after an error.
std::string_view peeked(const char *buffer, std::int64_t count)
{
    return std::string_view(buffer, static_cast<std::size_t>(std::max<std::int64_t>(count, 0)));
}

bool worthReadingInHalves(std::int64_t size)
{
    return size >= kHalvesMinBytes && std::thread::hardware_concurrency() >= 2;
}

// The file in two halves, split after the first line end past its middle,
// each read by a source of its own; nothing when there is no line end to
// split at. A read in one pass, when the halves need it, starts `source`
// over from the start.
std::optional<ListReadResult> readFileInHalves(FileByteSource &source, const QString &path, const ListLayout &layout)
{
    const std::int64_t middle = source.fileSize() / 2;
    char window[4096];
    const std::optional<std::size_t> lineStart =
        detail::lineEndAfter(peeked(window, source.peekAt(window, sizeof window, middle)));
    if (!lineStart)
        return std::nullopt;
    const std::int64_t split = middle + static_cast<std::int64_t>(*lineStart);
    FileByteSource rest;
    if (split >= source.fileSize() || rest.open(path) != FileByteSource::OpenStatus::Opened || !rest.seek(split))
        return std::nullopt;
    LimitedByteSource head(source, split);
    const auto whole = [&] {
        if (!source.seek(0))
            return ListReadResult{PostalTable(), readFailedError(layout.kind, path, 0, source.errorText(), 0)};
        return detail::parseList(source, layout, path);
    };
    return detail::parseListInHalves(head, rest, whole, layout, path);
}

} // namespace

ListReadResult readListFile(const QString &path, const ListLayout &layout)
{
    const ListKind kind = layout.kind;
    FileByteSource source;
    const FileByteSource::OpenStatus status = source.open(path);
    if (status != FileByteSource::OpenStatus::Opened)
        return {PostalTable(), cannotOpenError(kind, path, status, source.errorText())};
    if (source.fileSize() > kMaxListFileBytes)
        return {PostalTable(), tooLargeError(kind, path, source.fileSize())};
    char head[4];
    if (isListArchive(peeked(head, source.peek(head, sizeof head)), path)) {
        ZipEntrySource archive;
        return readArchive(archive, archive.openFile(path), layout, path);
    }
    if (worthReadingInHalves(source.fileSize())) {
        if (std::optional<ListReadResult> read = readFileInHalves(source, path, layout))
            return std::move(*read);
    }
    return detail::parseList(source, layout, path);
}

ListReadResult readListBytes(std::string_view bytes, const QString &nameForMessages, const ListLayout &layout)
{
    const ListKind kind = layout.kind;
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (size > kMaxListFileBytes)
        return {PostalTable(), tooLargeError(kind, nameForMessages, size)};
    if (isListArchive(bytes, nameForMessages)) {
        ZipEntrySource archive;
        return readArchive(archive, archive.openBytes(bytes), layout, nameForMessages);
    }
    if (worthReadingInHalves(size))
        return detail::parseListInHalves(bytes, layout, nameForMessages);
    MemoryByteSource source(bytes);
    return detail::parseList(source, layout, nameForMessages);
}

ListReadResult readPostalListFile(const QString &path)
{
    return readListFile(path, kPostalListLayout);
}

ListReadResult readPostalListBytes(std::string_view bytes, const QString &nameForMessages)
{
    return readListBytes(bytes, nameForMessages, kPostalListLayout);
}

bool postalListExists(const QString &path)
{
    if (path.isEmpty())
        return false;
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(path);
    const auto name = reinterpret_cast<LPCWSTR>(native.utf16());
    const DWORD attributes = ::GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES
        || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
        return false;
    // "NUL", "CON" and their kin have a file's attributes too. A file that
    // cannot even be opened here counts as there: its read says why.
    const HANDLE handle = ::CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return true;
    const bool onDisk = ::GetFileType(handle) == FILE_TYPE_DISK;
    ::CloseHandle(handle);
    return onDisk;
#else
    // isFile() is false for folders, FIFOs and devices alike.
    const QFileInfo info(path);
    return info.isFile() && !info.fileName().startsWith(u'.');
#endif
}

} // namespace torumin
