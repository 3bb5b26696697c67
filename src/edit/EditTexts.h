#pragma once
// Texts of the editing and write-back alerts, exactly as the user sees them.
#include <string>

namespace linvara::edittexts {

inline constexpr const char* kSupportEmail = "support@zelvane.com";
inline std::string PermissionProblem() {
  return std::string("Failed to write bookmark data because of permission problem. Please contact the support team(") +
         kSupportEmail + ") for more information.";
}
inline std::string WorkingCopyWriteFailed(const std::string& reason) {
  return "Failed to write the working copy: " + reason;
}
inline constexpr const char* kRestoreSafariQuestion = "Are you sure you want to restore the Safari bookmark?";
inline constexpr const char* kRestoreChromeQuestion = "Are you sure you want to restore the Chrome bookmark?";
inline constexpr const char* kMoveTargetMissing = "No folder has the title the bookmarks were to be moved to; they stay where they were.";
inline constexpr const char* kEncryptedAddressMask = "*****************************";

}  // namespace linvara::edittexts
