#pragma once
// Texts of the navigation alerts, exactly as the user sees them (they are also
// the keys of the localisation table). Button titles keep their blanks: " Ok ".
namespace linvara::alerttexts {

inline constexpr const char* kQuitRunningBrowser = "You need to quit the running browser.";
inline constexpr const char* kQuitSafari = "You need to quit Safari browser.";
inline constexpr const char* kQuitChrome = "You need to quit Chrome browser.";
// Ends in a blank.
inline constexpr const char* kFullDiskAccess =
    "You need to add Linvara.app to the Full Disk Access List to access Safari bookmark in Mac 10.14 and later. ";
inline constexpr const char* kFullDiskAccessInfo =
    "Open System Settings/Preferences -> Security & Privacy -> Privacy -> Full Disk Access. Add or drag and drop "
    "Linvara.app to the right table view.";
inline constexpr const char* kApplyChangesReminder =
    "Remember to click the Apply Changes button to save all your changes to Safari";
inline constexpr const char* kApplyChangesReminderInfo =
    "All product actions are not immediately applied to Safari bookmarks, and you need to click the Apply Changes "
    "button to save them.";

}  // namespace linvara::alerttexts
