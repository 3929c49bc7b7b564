#include "support/Cp932Text.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace torumin::testing {

#ifdef _WIN32

std::string cp932Bytes(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), size);
    if (wideLength == 0)
        throw std::runtime_error("text is not UTF-8");
    std::string out(static_cast<std::size_t>(wideLength) * 2, '\0');
    BOOL replaced = FALSE;
    const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, out.data(),
                                           static_cast<int>(out.size()), nullptr, &replaced);
    if (length == 0 || replaced)
        throw std::runtime_error("text has no CP932 form");
    out.resize(static_cast<std::size_t>(length));
    return out;
}

#else

std::string cp932Bytes(std::string_view utf8)
{
    const iconv_t handle = ::iconv_open("CP932", "UTF-8");
    if (handle == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no CP932 encoder");
    std::string out(utf8.size() * 2 + 16, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t status = ::iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    ::iconv_close(handle);
    if (status == static_cast<std::size_t>(-1))
        throw std::runtime_error("text has no CP932 form");
    out.resize(out.size() - outLeft);
    return out;
}

#endif

} // namespace torumin::testing
