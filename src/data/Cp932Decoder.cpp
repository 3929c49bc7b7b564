#include "data/Cp932Decoder.h"

#include <bit>
#include <cerrno>
#include <cstdint>

#include <iconv.h>

namespace torumin {

namespace {

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);

const char *nativeUtf16Name()
{
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

iconv_t handleOf(void *handle)
{
    return static_cast<iconv_t>(handle);
}

std::size_t convert(iconv_t handle, const char *bytes, std::size_t size, char16_t *out,
                    std::size_t &consumed) noexcept
{
    char *in = const_cast<char *>(bytes);
    std::size_t inLeft = size;
    char *outBytes = reinterpret_cast<char *>(out);
    const std::size_t outSize = size * sizeof(char16_t);
    std::size_t outLeft = outSize;
    const std::size_t status = ::iconv(handle, &in, &inLeft, &outBytes, &outLeft);
    consumed = size - inLeft;
    if (status == static_cast<std::size_t>(-1)) {
        // A failed call may leave a partial character in the converter's state.
        ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
    }
    return (outSize - outLeft) / sizeof(char16_t);
}

// Most of the list's bytes are ASCII digits. Widening them directly skips a
// converter call per field, but only after the converter itself has shown,
// once per process, that it maps every ASCII byte to the same code point.
bool asciiDecodesToItself() noexcept
{
    static const bool verdict = [] {
        const iconv_t handle = ::iconv_open(nativeUtf16Name(), "CP932");
        if (handle == kNoHandle)
            return false;
        char bytes[128];
        char16_t units[128];
        for (int i = 0; i < 128; ++i)
            bytes[i] = static_cast<char>(i);
        std::size_t consumed = 0;
        const std::size_t produced = convert(handle, bytes, sizeof bytes, units, consumed);
        ::iconv_close(handle);
        if (consumed != sizeof bytes || produced != sizeof bytes)
            return false;
        for (int i = 0; i < 128; ++i) {
            if (units[i] != static_cast<char16_t>(i))
                return false;
        }
        return true;
    }();
    return verdict;
}

bool isAscii(const char *bytes, std::size_t size) noexcept
{
    unsigned char any = 0;
    for (std::size_t i = 0; i < size; ++i)
        any |= static_cast<unsigned char>(bytes[i]);
    return any < 0x80;
}

} // namespace

Cp932Decoder::Cp932Decoder() noexcept
    : m_handle(::iconv_open(nativeUtf16Name(), "CP932"))
{
}

Cp932Decoder::~Cp932Decoder()
{
    if (isValid())
        ::iconv_close(handleOf(m_handle));
}

bool Cp932Decoder::isValid() const noexcept
{
    return handleOf(m_handle) != kNoHandle;
}

Cp932Decoder::Result Cp932Decoder::decode(const char *bytes, std::size_t size,
                                          char16_t *out) noexcept
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
    std::size_t consumed = 0;
    result.units = convert(handleOf(m_handle), bytes, size, out, consumed);
    if (consumed != size)
        result.badByte = consumed;
    return result;
}

} // namespace torumin
