// The build's console texts, shared by every build and by the tests that check them.
// The window and the CLI print kInvalidCombination themselves when ChooseBuild finds no build.
#pragma once

namespace build_messages {
inline constexpr char kSettingsOpen[] = "Error opening settings file...";
inline constexpr char kSetlistOpen[] = "Error opening setlist file...";
inline constexpr char kSettingsSheet[] = "Error opening settings file worksheet!!";
inline constexpr char kNoSettingsRecords[] = "No valid records in settings file!!";
inline constexpr char kNoSetlistSheets[] = "No valid worksheets in setlist file!!";
inline constexpr char kJsonOpen[] = "Error opening json output file...";
inline constexpr char kJsonWrite[] = "Error writing json output file...";
inline constexpr char kBuilding[] = "Building JSON file ...";
// "Reading <path> as <how>", where <how> is what the table's ReadAs gives.
inline constexpr char kReading[] = "Reading ";
inline constexpr char kReadingAs[] = " as ";
inline constexpr char kNoSetting[] = "No setting for: ";
inline constexpr char kInvalidTempo[] = "Invalid tempo for: ";
inline constexpr char kCreated[] = "File created...total records = ";
inline constexpr char kInvalidCombination[] = "Invalid combination of file-types ...";
}  // namespace build_messages
