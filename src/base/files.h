#pragma once
// The one small file module of the core. Every operation opens, does its work and closes again;
// nothing is held open between calls, because the engine writes the same files from its own
// processes. No operation throws: failures give false, nullopt or an empty result.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ovp {

namespace fs = std::filesystem;

// Paths are UTF-8 text inside the core; these convert without the ANSI code page getting in.
fs::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const fs::path& path);

// Larger files are refused rather than read: no shared file of ours comes near this.
inline constexpr std::uintmax_t kMaxReadBytes = 64u * 1024u * 1024u;

// The whole file as bytes; nullopt when it is missing, unreadable or larger than maxBytes.
std::optional<std::string> ReadFileBytes(const fs::path& file, std::uintmax_t maxBytes = kMaxReadBytes);

// Replaces the whole file: the new bytes go to a temporary file beside it ("<name>.tmp<digits>"),
// are forced to the disk, and the temporary file then takes the old file's place in one step. A
// replace that is refused (another process holds the file) is retried for about a fifth of a
// second; after that the temporary file is removed and the old file stays untouched. Whatever
// happens, the file holds either the old or the new content, whole. Temporary files that an
// earlier writer left behind (it was killed between the two steps) go with the next replace.
bool ReplaceFileBytes(const fs::path& file, std::string_view bytes);

// Forces a closed file's bytes to the disk; true on success. The portable library has no such
// call, so a replace does without until the platform installs one (the Windows program does).
using FileFlush = bool (*)(const fs::path& file);
void SetFileFlush(FileFlush flush);

// Appends bytes, creating the file when missing.
bool AppendFileBytes(const fs::path& file, std::string_view bytes);

// Appends one line as UTF-16LE followed by CR LF; a new (or empty) file gets the FF FE mark first.
bool AppendUtf16Line(const fs::path& file, std::string_view utf8Line);

bool FileExists(const fs::path& file);
bool FolderExists(const fs::path& folder);
std::optional<std::uintmax_t> FileSize(const fs::path& file);
// Deletes a file; true when it is gone afterwards (also when it never existed).
bool DeleteFileIfExists(const fs::path& file);
// Creates the folder and its parents; true when it exists afterwards.
bool CreateFolders(const fs::path& folder);
// The newest file of the folder by last-modified time; empty when it holds none (or cannot be read).
fs::path NewestFileIn(const fs::path& folder);
bool CopyFileOverwrite(const fs::path& from, const fs::path& to);

}  // namespace ovp
