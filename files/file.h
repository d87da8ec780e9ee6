// File access: whole-file loads from the pack archive or loose files ("z" files inflated),
// the engine's buffer release, the program/user/temporary folders, and file names compared
// without regard to ASCII case or slash direction.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// A non-owning reference to a path, narrow (UTF-8) or wide (UTF-16).
struct gFileName {
  const char* text = nullptr;
  const char16_t* wtext = nullptr;

  gFileName() = default;
  gFileName(const char* t) : text(t) {}
  gFileName(const std::string& s) : text(s.c_str()) {}
  gFileName(const char16_t* t) : wtext(t) {}

  bool IsWide() const { return wtext != nullptr; }
  bool IsEmpty() const;
  std::string Utf8() const;  // the name as UTF-8 text
};
// Equal when of the same length and every character pair matches after folding a-z to A-Z and
// treating "/" and "\" alike; narrow and wide names compare with each other.
bool operator==(const gFileName& a, const gFileName& b);
// The folded form used as a key (upper-case ASCII, "\" turned into "/").
std::string fileFoldName(std::string_view name);

using FileHandle = std::FILE*;
FileHandle fileOpen(const gFileName& name, int mode);  // 1 "rb", 2 "wb", other "r+b"
int fileClose(FileHandle f);
size_t fileRead(FileHandle f, void* buffer, size_t n);
size_t fileWrite(FileHandle f, const void* buffer, size_t n);
int fileSeek(FileHandle f, long position);
long fileSize(FileHandle f);
bool fileExists(const gFileName& name);

// Reads a whole file (archive first, then loose); returns its length and sets `out` to bytes the
// caller gives back with memFree. Returns 0 and leaves `out` untouched when missing or empty.
size_t fileLoad(const gFileName& name, void** out);
void* memAlloc(size_t n);
void memFree(void* p);

// Replaces the extension (text after the last ".") or appends "." + ext when there is none.
std::string fileChangeExt(std::string_view source, std::string_view ext);

// Resolves a data path on a case-sensitive file system: either slash, any letter case. Returns the
// existing path, or the name with "\" turned into "/" when nothing matches.
std::string fileResolve(std::string_view name);
// Drops the cached folder listings (after files were renamed behind the game's back).
void fileForgetListings();

// Start-up and shutdown steps of the shell.
void fileInitPaths();
bool fileOpenPack();                       // game.ini [main] "pack"
bool fileOpenPackFile(const char* path);   // opens a given archive (tools and tests)
void fileClosePack();
size_t filePackEntryCount();
std::string filePackEntryName(size_t i);   // "" past the end; in archive order

const std::string& fileProgramFolder();    // ends with a separator
const std::string& fileGameIniPath();
const std::string& fileUserFolder();       // no trailing separator
const std::string& fileProfilePath();
const std::string& fileScoresPath();
const std::string& fileProfgamePath();
const std::string& fileTempFolder();       // ends with a separator
void fileInitTempFolder();                 // creates it and deletes the files in it

// Inflates the "z" format (8 ignored bytes, 8 bytes of decimal size, zlib stream). The stream may
// run up to 256 bytes past the declared size. Returns the produced length and a buffer owned by
// the caller (memFree), or 0 with a gerr.log line naming `what` on damaged or implausible data;
// `why`, when given, receives that line too (tools show it to their user).
size_t fileInflateZ(const void* data, size_t size, void** out, const char* what, std::string* why = nullptr);
// Builds the "z" format from raw bytes (tools and tests).
std::string fileDeflateZ(std::string_view raw);
