#include "data/Cp932Decoder.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <bit>

#include <iconv.h>
#endif

namespace torumin {

namespace {

bool isLeadByte(unsigned char byte) noexcept
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(unsigned char byte) noexcept
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

bool isUndefinedSingleByte(unsigned char byte) noexcept
{
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

bool isAscii(const char *bytes, std::size_t size) noexcept
{
    unsigned char any = 0;
    for (std::size_t i = 0; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return any < 0x80;
}

#ifdef _WIN32

constexpr UINT kCodePage = 932;
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

void *openConverter() noexcept
{
    // Nothing to open: the code page is the system's. A non-null handle says it is there.
    static char present = 0;
    return ::IsValidCodePage(kCodePage) ? &present : nullptr;
}

void closeConverter(void *) noexcept {}

bool converterIsValid(void *handle) noexcept
{
    return handle != nullptr;
}

// Units written, or 0 when the system refuses a byte.
std::size_t convertRun(const char *bytes, std::size_t size, char16_t *out) noexcept
{
    const int units = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(size),
                                            reinterpret_cast<wchar_t *>(out), static_cast<int>(size));
    return units > 0 ? static_cast<std::size_t>(units) : 0;
}

// The converter says only that a run failed, not where: the well-shaped part
// goes in one call, and only when that fails (a code the table does not
// assign) character by character to find the byte.
Cp932Decoder::Result convert(void *, const char *bytes, std::size_t size, char16_t *out) noexcept
{
    Cp932Decoder::Result result;
    const std::optional<std::size_t> malformed = malformedCp932Byte(bytes, size);
    const std::size_t wellShaped = malformed.value_or(size);
    if (wellShaped > 0) {
        result.units = convertRun(bytes, wellShaped, out);
        if (result.units == 0) {
            std::size_t i = 0;
            while (i < wellShaped) {
                const std::size_t length = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
                const std::size_t units = convertRun(bytes + i, length, out + result.units);
                if (units == 0) {
                    result.badByte = i;
                    return result;
                }
                result.units += units;
                i += length;
            }
        }
    }
    result.badByte = malformed;
    return result;
}

#else

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

const char *nativeUtf16Name() noexcept
{
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

iconv_t handleOf(void *handle) noexcept
{
    return static_cast<iconv_t>(handle);
}

void *openConverter() noexcept
{
    return ::iconv_open(nativeUtf16Name(), "CP932");
}

void closeConverter(void *handle) noexcept
{
    ::iconv_close(handleOf(handle));
}

bool converterIsValid(void *handle) noexcept
{
    return handleOf(handle) != kNoHandle;
}

Cp932Decoder::Result convert(void *handle, const char *bytes, std::size_t size, char16_t *out) noexcept
{
    char *in = const_cast<char *>(bytes);
    std::size_t inLeft = size;
    char *outBytes = reinterpret_cast<char *>(out);
    const std::size_t outSize = size * sizeof(char16_t);
    std::size_t outLeft = outSize;
    const std::size_t status = ::iconv(handleOf(handle), &in, &inLeft, &outBytes, &outLeft);
    if (status == static_cast<std::size_t>(-1)) {
        // A failed call may leave a partial character in the converter's state.
        ::iconv(handleOf(handle), nullptr, nullptr, nullptr, nullptr);
    }
    Cp932Decoder::Result result;
    result.units = (outSize - outLeft) / sizeof(char16_t);
    if (inLeft != 0)
        result.badByte = size - inLeft;
    return result;
}

#endif

// Most of the list's bytes are ASCII digits. Widening them directly skips a
// converter call per field, but only after the converter itself has shown,
// once per process, that it maps every ASCII byte to the same code point.
bool asciiDecodesToItself() noexcept
{
    static const bool verdict = [] {
        void *handle = openConverter();
        if (!converterIsValid(handle))
            return false;
        char bytes[128];
        char16_t units[128];
        for (int i = 0; i < 128; ++i)
            bytes[i] = static_cast<char>(i);
        const Cp932Decoder::Result result = convert(handle, bytes, sizeof bytes, units);
        closeConverter(handle);
        if (result.badByte || result.units != sizeof bytes)
            return false;
        for (int i = 0; i < 128; ++i) {
            if (units[i] != static_cast<char16_t>(i))
                return false;
        }
        return true;
    }();
    return verdict;
}

} // namespace

std::optional<std::size_t> malformedCp932Byte(const char *bytes, std::size_t size) noexcept
{
    std::size_t i = 0;
    while (i < size) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(byte)) {
            if (i + 1 >= size || !isTrailByte(static_cast<unsigned char>(bytes[i + 1])))
                return i;
            i += 2;
        } else if (isUndefinedSingleByte(byte)) {
            return i;
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

Cp932Decoder::Cp932Decoder() noexcept
    : m_handle(openConverter())
{
}

Cp932Decoder::~Cp932Decoder()
{
    if (isValid())
        closeConverter(m_handle);
}

bool Cp932Decoder::isValid() const noexcept
{
    return converterIsValid(m_handle);
}

Cp932Decoder::Result Cp932Decoder::decode(const char *bytes, std::size_t size, char16_t *out) noexcept
{
    Result result;
    if (size == 0)
        return result;
    if (asciiDecodesToItself() && isAscii(bytes, size)) {
        for (std::size_t i = 0; i < size; ++i)
            out[i] = static_cast<unsigned char>(bytes[i]);
        result.units = size;
        return result;
    }
    return convert(m_handle, bytes, size, out);
}

} // namespace torumin
