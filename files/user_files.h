// The player's own documents in the user folder (profgame.ini, profile.ini, scores.ini): checked
// and mended at start-up, and saved so that no crash or damaged file costs the player their data.
#pragma once
#include <string>
#include <string_view>

// Runs once before anything reads the user documents: drops a temporary file an interrupted save
// left behind, takes the backup copy when a document is missing, empty or unreadable, leaves out
// lines that cannot be read (each named in gerr.log with its file and line, the damaged original
// kept beside it as ".damaged"), completes a document cut short from its backup, and creates a
// default profgame.ini so a first run starts with one.
void fileInitUserFiles();
// Checks and mends one document the same way; `defaultText` (null for none) is written when
// neither the document nor its backup exists. A document of zero bytes counts as missing.
void fileMendUserFile(const std::string& path, const char* defaultText);

// Saves a cached INI document of the user folder: the current file first becomes the backup
// (".bak") when it is whole, then the new text replaces it atomically. False, with a gerr.log
// line, when the save failed.
bool fileSaveUserFile(const std::string& path);
// Copies the current file to its backup when it is whole (before a change saved by other means).
void fileBackupUserFile(const std::string& path);

// The 1-based line of `key` in `section` of the file on disk, 0 when not found (for messages).
int fileUserFileLine(const std::string& path, std::string_view section, std::string_view key);
// The file's own name without its folder (for messages).
std::string fileBaseName(std::string_view path);
