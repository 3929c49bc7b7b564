#include "app/settings/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <thread>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace torumin {

SettingsFileRead readSettingsFile(const QString &path)
{
    using Status = SettingsFileRead::Status;
    SettingsFileRead read;
    const QFileInfo info(path);
    if (!info.exists())
        return read; // Missing, a dangling link included: the next save makes it
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        read.status = Status::CannotRead;
        return read;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        read.status = Status::CannotRead;
        return read;
    }
    read.content = parseIni(bytes);
    read.status = read.content.isUnreadable() ? Status::NothingReadable : Status::Read;
    return read;
}

std::optional<QString> replaceSettingsFile(const QString &path, const QByteArray &bytes)
{
    // Unbuffered, so that a write the disk takes only in part says so at once
    // instead of in a flush whose shortfall commit() would not notice.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            const QString error = file.errorString();
            file.cancelWriting();
            return error;
        }
        written += count;
    }
#ifndef Q_OS_WIN
    // commit() syncs too, but goes on when that fails.
    if (::fdatasync(file.handle()) != 0) {
        const QString error = qt_error_string(errno);
        file.cancelWriting();
        return error;
    }
#endif
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

#ifndef Q_OS_WIN

namespace {

bool sameFile(int fd, const QByteArray &path)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 && opened.st_dev == named.st_dev
        && opened.st_ino == named.st_ino;
}

} // namespace

SettingsFileLock::SettingsFileLock(const QString &lockPath, std::chrono::milliseconds timeout)
    : m_path(QFile::encodeName(lockPath))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const int fd = ::open(m_path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return;
        int error = 0;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            error = errno;
            if (error != EINTR && (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline))
                break;
            error = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // A file system without flock cannot keep instances apart at all;
        // saving regardless is better than never saving.
        const bool unsupported = error == ENOLCK || error == EOPNOTSUPP || error == ENOSYS;
        if (error != 0 && !unsupported) {
            m_busy = error == EWOULDBLOCK;
            ::close(fd);
            return;
        }
        // The holder before us removes the file on unlocking; whoever waited
        // on it then holds a lock on a name that is gone, and starts again.
        if (unsupported || sameFile(fd, m_path)) {
            m_fd = fd;
            return;
        }
        ::close(fd);
        if (std::chrono::steady_clock::now() >= deadline) {
            m_busy = true;
            return;
        }
    }
}

SettingsFileLock::~SettingsFileLock()
{
    if (m_fd < 0)
        return;
    // Removed while still held, so nobody can lock it after this and believe
    // they are alone.
    ::unlink(m_path.constData());
    ::close(m_fd);
}

#endif

} // namespace torumin
