#include "tools/ConsoleOutput.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#endif

namespace torumin {

ConsoleOutput::ConsoleOutput(std::FILE *stream)
    : m_stream(stream)
{
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode))
        m_console = handle;
    else // the same bytes as everywhere else: no CR added before each LF
        _setmode(_fileno(stream), _O_BINARY);
#endif
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

ConsoleOutput::~ConsoleOutput()
{
    close();
}

qint64 ConsoleOutput::readData(char *, qint64)
{
    return -1;
}

qint64 ConsoleOutput::writeData(const char *data, qint64 size)
{
#ifdef Q_OS_WIN
    if (m_console) {
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        qsizetype done = 0;
        while (done < text.size()) {
            DWORD written = 0;
            const auto chunk = static_cast<DWORD>(std::min<qsizetype>(text.size() - done, 8192));
            if (!WriteConsoleW(m_console, text.utf16() + done, chunk, &written, nullptr) || written == 0)
                return -1;
            done += written;
        }
        return size;
    }
#endif
    const std::size_t written = std::fwrite(data, 1, static_cast<std::size_t>(size), m_stream);
    std::fflush(m_stream);
    return written == static_cast<std::size_t>(size) ? size : -1;
}

} // namespace torumin
