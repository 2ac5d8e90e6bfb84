// Code page 932 (Windows Japanese) at the file boundary; inside, text is UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirado {

// nullopt when a character has no code-page-932 form (or the input is not valid UTF-8).
std::optional<std::string> utf8_to_cp932(std::string_view utf8);
// Bytes that are not valid code page 932 become U+FFFD, so reading never fails.
std::string cp932_to_utf8(std::string_view cp932);

}  // namespace mirado
