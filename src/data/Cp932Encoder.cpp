#include "data/Cp932Encoder.h"

#include <QChar>

#ifdef _WIN32
#include <windows.h>
#else
#include <bit>
#include <cerrno>

#include <iconv.h>
#endif

namespace torumin {

namespace {

// A UTF-16 unit never takes more than two bytes in code page 932.
constexpr std::size_t kMaxBytesPerUnit = 2;

#ifdef _WIN32

constexpr UINT kCodePage = 932;

void *openConverter() noexcept
{
    static char present = 0;
    return ::IsValidCodePage(kCodePage) ? &present : nullptr;
}

void closeConverter(void *) noexcept {}

bool converterIsValid(void *handle) noexcept
{
    return handle != nullptr;
}

bool convert(void *, QStringView text, std::string &out)
{
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(text.size()) * kMaxBytesPerUnit);
    BOOL usedDefault = FALSE;
    // No best fit: a character without a place is "?", never a look-alike.
    const int bytes = ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS,
                                            reinterpret_cast<const wchar_t *>(text.utf16()),
                                            static_cast<int>(text.size()), out.data() + start,
                                            static_cast<int>(out.size() - start), "?", &usedDefault);
    out.resize(start + static_cast<std::size_t>(bytes > 0 ? bytes : 0));
    return bytes > 0 && !usedDefault;
}

#else

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

iconv_t handleOf(void *handle) noexcept
{
    return static_cast<iconv_t>(handle);
}

void *openConverter() noexcept
{
    return ::iconv_open("CP932", std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE");
}

void closeConverter(void *handle) noexcept
{
    ::iconv_close(handleOf(handle));
}

bool converterIsValid(void *handle) noexcept
{
    return handleOf(handle) != kNoHandle;
}

// Whole runs in one call; at a character the converter refuses (or a lone
// surrogate), a "?" and on past it.
bool convert(void *handle, QStringView text, std::string &out)
{
    bool whole = true;
    const char16_t *units = text.utf16();
    std::size_t left = static_cast<std::size_t>(text.size());
    while (left > 0) {
        const std::size_t start = out.size();
        out.resize(start + left * kMaxBytesPerUnit);
        char *in = reinterpret_cast<char *>(const_cast<char16_t *>(units));
        std::size_t inLeft = left * sizeof(char16_t);
        char *written = out.data() + start;
        std::size_t outLeft = left * kMaxBytesPerUnit;
        const std::size_t status = ::iconv(handleOf(handle), &in, &inLeft, &written, &outLeft);
        const int error = errno;
        out.resize(out.size() - outLeft);
        const std::size_t done = left - inLeft / sizeof(char16_t);
        units += done;
        left -= done;
        if (status != static_cast<std::size_t>(-1))
            break;
        ::iconv(handleOf(handle), nullptr, nullptr, nullptr, nullptr);
        if (error == E2BIG && done > 0)
            continue;
        whole = false;
        out.push_back('?');
        const bool pair = left >= 2 && QChar::isHighSurrogate(units[0]) && QChar::isLowSurrogate(units[1]);
        const std::size_t skip = pair ? 2 : 1;
        units += skip;
        left -= skip;
    }
    return whole;
}

#endif

} // namespace

Cp932Encoder::Cp932Encoder() noexcept
    : m_handle(openConverter())
{
}

Cp932Encoder::~Cp932Encoder()
{
    if (isValid())
        closeConverter(m_handle);
}

bool Cp932Encoder::isValid() const noexcept
{
    return converterIsValid(m_handle);
}

bool Cp932Encoder::encode(QStringView text, std::string &out)
{
    if (text.isEmpty())
        return true;
    if (!isValid()) {
        bool whole = true;
        for (const QChar ch : text) {
            whole = whole && ch.unicode() < 0x80;
            out.push_back(ch.unicode() < 0x80 ? static_cast<char>(ch.unicode()) : '?');
        }
        return whole;
    }
    return convert(m_handle, text, out);
}

} // namespace torumin
