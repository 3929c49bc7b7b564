#include "data/PostalListReader.h"

#include "data/ListByteSource.h"
#include "data/ListErrorMessages.h"
#include "data/ListParser.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>
#endif

namespace torumin {

ListReadResult readPostalListFile(const QString &path)
{
    FileByteSource source;
    const FileByteSource::OpenStatus status = source.open(path);
    if (status != FileByteSource::OpenStatus::Opened)
        return {PostalTable(), cannotOpenError(path, status, source.errorText())};
    if (source.fileSize() > kMaxListFileBytes)
        return {PostalTable(), tooLargeError(path, source.fileSize())};
    return detail::parsePostalList(source, path);
}

ListReadResult readPostalListBytes(std::string_view bytes, const QString &nameForMessages)
{
    const auto size = static_cast<std::int64_t>(bytes.size());
    if (size > kMaxListFileBytes)
        return {PostalTable(), tooLargeError(nameForMessages, size)};
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
