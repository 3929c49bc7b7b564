#pragma once

#include <string>
#include <string_view>

namespace torumin::testing {

// UTF-8 text as code page 932 bytes, as list files hold it; throws when the
// text has no such form. Made by the system's encoder (iconv, or Windows'
// own), the opposite direction from the reader's decoding.
std::string cp932Bytes(std::string_view utf8);

} // namespace torumin::testing
