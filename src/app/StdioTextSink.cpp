#include "app/StdioTextSink.h"

#include "data/Cp932Encoder.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#endif

namespace torumin {

StdioTextSink::StdioTextSink(std::FILE *stream)
    : m_stream(stream)
{
#ifdef Q_OS_WIN
    // A console shows the bytes a program writes in its own code page, which
    // is seldom UTF-8, but shows text in any: it is handed text. A file or a
    // pipe gets the same bytes as everywhere else, no CR added before an LF.
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode))
        m_console = handle;
    else
        ::_setmode(::_fileno(stream), _O_BINARY);
#endif
}

StdioTextSink::~StdioTextSink() = default;

void StdioTextSink::setEncoding(TextEncoding encoding)
{
    m_encoding = encoding;
    if (encoding == TextEncoding::Cp932 && !m_cp932)
        m_cp932 = std::make_unique<Cp932Encoder>();
}

bool StdioTextSink::fail(int error)
{
    if (!m_failed) {
        m_failed = true;
        m_error = error;
    }
    return false;
}

bool StdioTextSink::write(QStringView text)
{
    if (m_failed)
        return false;
    if (text.isEmpty())
        return true;
#ifdef Q_OS_WIN
    if (m_console)
        return writeConsole(text);
#endif
    const char *bytes = nullptr;
    std::size_t size = 0;
    QByteArray utf8;
    if (m_encoding == TextEncoding::Cp932) {
        m_bytes.clear();
        if (!m_cp932->encode(text, m_bytes))
            m_replaced = true;
        bytes = m_bytes.data();
        size = m_bytes.size();
    } else {
        utf8 = text.toUtf8();
        bytes = utf8.constData();
        size = static_cast<std::size_t>(utf8.size());
    }
    errno = 0;
    if (std::fwrite(bytes, 1, size, m_stream) != size)
        return fail(errno);
    return true;
}

#ifdef Q_OS_WIN
bool StdioTextSink::writeConsole(QStringView text)
{
    while (!text.isEmpty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<qsizetype>(text.size(), 8192));
        if (!::WriteConsoleW(m_console, text.utf16(), chunk, &written, nullptr) || written == 0)
            return fail(EIO);
        text = text.sliced(written);
    }
    return true;
}
#endif

bool StdioTextSink::flush()
{
    if (m_failed)
        return false;
#ifdef Q_OS_WIN
    if (m_console)
        return true;
#endif
    errno = 0;
    if (std::fflush(m_stream) != 0 || std::ferror(m_stream))
        return fail(errno);
    return true;
}

QString StdioTextSink::errorText() const
{
    if (!m_failed)
        return {};
    return m_error != 0 ? QString::fromLocal8Bit(std::strerror(m_error)) : QStringLiteral("I/O error");
}

bool StdioTextSink::takeReplacedCharacters()
{
    const bool replaced = m_replaced;
    m_replaced = false;
    return replaced;
}

} // namespace torumin
