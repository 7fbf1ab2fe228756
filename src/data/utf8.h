#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pigmora {

// The code points of a UTF-8 text; nothing when it is not valid UTF-8
// (overlong forms, surrogates and values past U+10FFFF included).
std::optional<std::u32string> decodeUtf8(std::string_view text);

inline bool isValidUtf8(std::string_view text)
{
    return decodeUtf8(text).has_value();
}

} // namespace pigmora
