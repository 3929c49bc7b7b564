#include "app/StandardInputDevice.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include <sys/stat.h>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace torumin {

StandardInputDevice::StandardInputDevice()
{
    open(QIODevice::ReadOnly);
}

bool StandardInputDevice::isTerminal()
{
#ifdef Q_OS_WIN
    return ::_isatty(::_fileno(stdin)) != 0;
#else
    return ::isatty(STDIN_FILENO) != 0;
#endif
}

bool StandardInputDevice::isFile()
{
#ifdef Q_OS_WIN
    struct _stat64 status {};
    return ::_fstat64(::_fileno(stdin), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat status {};
    return ::fstat(STDIN_FILENO, &status) == 0 && S_ISREG(status.st_mode);
#endif
}

qint64 StandardInputDevice::readData(char *data, qint64 maxSize)
{
    const auto size = static_cast<unsigned int>(std::min<qint64>(maxSize, INT_MAX));
    for (;;) {
#ifdef Q_OS_WIN
        const qint64 got = ::_read(::_fileno(stdin), data, size);
#else
        const qint64 got = ::read(STDIN_FILENO, data, size);
#endif
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

qint64 StandardInputDevice::writeData(const char *, qint64)
{
    return -1;
}

} // namespace torumin
