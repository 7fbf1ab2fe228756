#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The few things the core needs from the machine it runs on: text conversion
// between UTF-8 (what the windows and the command line speak) and GBK, code
// page 936 (what the data files store), and the program's own folder.
namespace pigmora::platform {

// UTF-8 to GBK. Empty optional when the text is not valid UTF-8 or holds a
// character GBK cannot represent.
std::optional<std::string> utf8ToGbk(std::string_view utf8);

// GBK to UTF-8. Bytes that are not valid GBK (a cut or damaged name from a
// file) become U+FFFD rather than failing, so a damaged name can still be
// shown and deleted.
std::string gbkToUtf8(std::string_view gbk);

// The longest prefix of a GBK text that fits into maxBytes without splitting
// a two-byte character: a name is cut at its last whole character.
std::string_view cutGbk(std::string_view gbk, std::size_t maxBytes);

// The folder that holds the running executable (where the data files live).
std::filesystem::path programFolder();

} // namespace pigmora::platform
