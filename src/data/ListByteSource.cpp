#include "data/ListByteSource.h"

#include "data/ListErrorMessages.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#else
#include <QFile>
#include <QFileInfo>
#endif

namespace torumin {

ListError ListByteSource::readError(ListKind kind, const QString &nameForMessages, std::int64_t offset,
                                    int keptRecords) const
{
    return readFailedError(kind, nameForMessages, offset, errorText(), keptRecords);
}

std::int64_t MemoryByteSource::read(char *into, std::size_t capacity)
{
    const std::size_t count = std::min(capacity, m_bytes.size() - m_position);
    if (count > 0)
        std::memcpy(into, m_bytes.data() + m_position, count);
    m_position += count;
    return static_cast<std::int64_t>(count);
}

std::int64_t MemoryByteSource::sizeHint() const
{
    return m_reportSize ? static_cast<std::int64_t>(m_bytes.size()) : 0;
}

std::int64_t LimitedByteSource::read(char *into, std::size_t capacity)
{
    const auto count = static_cast<std::size_t>(std::min<std::int64_t>(
        static_cast<std::int64_t>(capacity), m_left));
    if (count == 0)
        return 0;
    const std::int64_t read = m_inner.read(into, count);
    if (read > 0)
        m_left -= read;
    return read;
}

FileByteSource::~FileByteSource()
{
    close();
}

#ifdef Q_OS_UNIX

void FileByteSource::close() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

FileByteSource::OpenStatus FileByteSource::open(const QString &path)
{
    close();
    m_errorText.clear();
    if (path.isEmpty())
        return OpenStatus::Missing;
    const QByteArray encoded = QFile::encodeName(path);
    // O_NONBLOCK so that a FIFO opens at once instead of waiting for a
    // writer; the type check below then turns it away.
    int fd = -1;
    do {
        fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        m_errorText = qt_error_string(error);
        switch (error) {
        case ENOENT:
        case ENOTDIR:
            return OpenStatus::Missing;
        case EACCES:
        case EPERM:
            return OpenStatus::NoPermission;
        case EISDIR:
            return OpenStatus::IsFolder;
        default:
            return OpenStatus::OtherError;
        }
    }
    m_fd = fd;
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) {
        m_errorText = qt_error_string(errno);
        close();
        return OpenStatus::OtherError;
    }
    if (S_ISDIR(status.st_mode)) {
        close();
        return OpenStatus::IsFolder;
    }
    if (!S_ISREG(status.st_mode)) {
        close();
        return OpenStatus::NotRegularFile;
    }
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
    m_size = static_cast<std::int64_t>(status.st_size);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return OpenStatus::Opened;
}

std::int64_t FileByteSource::peekAt(char *into, std::size_t capacity, std::int64_t offset)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t count = ::pread(m_fd, into, capacity, static_cast<off_t>(offset));
        if (count >= 0)
            return static_cast<std::int64_t>(count);
        if (errno != EINTR)
            return -1;
    }
}

bool FileByteSource::seek(std::int64_t offset)
{
    if (m_fd < 0)
        return false;
    if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) >= 0)
        return true;
    m_errorText = qt_error_string(errno);
    return false;
}

std::int64_t FileByteSource::read(char *into, std::size_t capacity)
{
    if (m_fd < 0)
        return -1;
    for (;;) {
        const ssize_t count = ::read(m_fd, into, capacity);
        if (count >= 0)
            return static_cast<std::int64_t>(count);
        if (errno != EINTR) {
            m_errorText = qt_error_string(errno);
            return -1;
        }
    }
}

#else

void FileByteSource::close() noexcept
{
    delete m_file;
    m_file = nullptr;
}

FileByteSource::OpenStatus FileByteSource::open(const QString &path)
{
    close();
    m_errorText.clear();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return OpenStatus::Missing;
    if (info.isDir())
        return OpenStatus::IsFolder;
    if (!info.isFile())
        return OpenStatus::NotRegularFile;
    m_file = new QFile(path);
    if (!m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_errorText = m_file->errorString();
        const bool exists = m_file->exists();
        close();
        if (!exists)
            return OpenStatus::Missing;
        return info.isReadable() ? OpenStatus::OtherError : OpenStatus::NoPermission;
    }
    m_size = m_file->size();
    return OpenStatus::Opened;
}

std::int64_t FileByteSource::peekAt(char *into, std::size_t capacity, std::int64_t offset)
{
    if (!m_file)
        return -1;
    const qint64 position = m_file->pos();
    if (!m_file->seek(offset))
        return -1;
    const qint64 count = m_file->read(into, static_cast<qint64>(capacity));
    return m_file->seek(position) ? count : -1;
}

bool FileByteSource::seek(std::int64_t offset)
{
    if (!m_file)
        return false;
    if (m_file->seek(offset))
        return true;
    m_errorText = m_file->errorString();
    return false;
}

std::int64_t FileByteSource::read(char *into, std::size_t capacity)
{
    if (!m_file)
        return -1;
    const qint64 count = m_file->read(into, static_cast<qint64>(capacity));
    if (count < 0)
        m_errorText = m_file->errorString();
    return count;
}

#endif

} // namespace torumin
