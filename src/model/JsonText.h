#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace linvara {

// The text with every byte sequence that is not UTF-8 replaced by U+FFFD (one
// per maximal ill-formed part) and every \u escape of a lone surrogate inside
// a string replaced by \ufffd; nullopt when there is nothing to replace.
std::optional<std::string> ReplaceInvalidJsonText(std::string_view text);

}  // namespace linvara
