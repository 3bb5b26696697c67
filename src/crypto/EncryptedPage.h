#pragma once
// The page folder of one encrypted bookmark: "<data folder>/<UUID>" holding
// "encrypt.html" (the page resource with the payload in place of "EEEEEEE"),
// "encrypt.js" and "style.css". The UUID comes from the user's bookmark file,
// so it becomes a folder name only when it is one plain path component.
#include <filesystem>
#include <string>
#include <string_view>

#include "model/Result.h"

namespace linvara {

inline constexpr std::string_view kPagePlaceholder = "EEEEEEE";

// Letters, digits and "-", 1 to 64 characters.
bool IsSafePageUuid(std::string_view uuid);

std::filesystem::path PageFolder(const std::filesystem::path& dataFolder, std::string_view uuid);
std::filesystem::path PageFile(const std::filesystem::path& dataFolder, std::string_view uuid);

// "file://" and the absolute path, percent-encoded but for "/" and the unreserved characters
// (so "Application Support" becomes "Application%20Support").
std::string FileUrlOfPath(const std::filesystem::path& path);

// Creates the page folder (with missing parents) and writes the three files, each in one step.
// Refuses an unsafe UUID and a page folder that is not a plain folder (a link, a file).
Result<void> WritePageFolder(const std::filesystem::path& dataFolder, std::string_view uuid, std::string_view payload);

// The payload text of a page this program wrote; NotFound without one.
Result<std::string> ReadPagePayload(const std::filesystem::path& dataFolder, std::string_view uuid);

// Deletes the page folder, but only a plain folder directly inside the data folder
// that holds nothing but the three page files; anything else is left alone and refused.
// A folder that is already gone counts as deleted.
Result<void> RemovePageFolder(const std::filesystem::path& dataFolder, std::string_view uuid);

}  // namespace linvara
