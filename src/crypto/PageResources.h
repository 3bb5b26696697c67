#pragma once
// The resources of the encrypted bookmark page, built into the program:
// "index" of type "html" (holding the placeholder "EEEEEEE"), "encrypt" of
// type "js" and "style" of type "css".
#include <optional>
#include <string_view>

namespace linvara {

// The bytes of a resource by name and type; nullopt for one the program does not carry.
std::optional<std::string_view> FindPageResource(std::string_view name, std::string_view type);

}  // namespace linvara
