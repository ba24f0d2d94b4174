#pragma once
// The engine's list files in the user folder (folder lists, exclude lists): one entry a line,
// system code-page text with CR LF. The monitor only ever adds lines to them. What a user or the
// engine wrote stays byte for byte: new lines are appended, never merged into a rewrite.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace ovp {

// Whether two lines name the same entry.
using SameEntry = bool (*)(std::string_view listed, std::string_view wanted);

// Exclude entries "name/flag": the same name, whatever the flag, so that an entry the user has
// switched to another flag is not listed a second time beside it. Blanks around and the case of
// letters do not count.
bool SameExcludeEntry(std::string_view listed, std::string_view wanted);
// Folder paths: blanks around, one final "\" and the case of letters do not count.
bool SameFolderPath(std::string_view listed, std::string_view wanted);

enum class ListChange {
    Unchanged,  // every wanted line was listed already (or the file was left alone)
    Created,
    Extended,
    Failed,  // the file could not be read or written; it is as it was
};

// Creates the file with the wanted lines when it is missing, or appends the wanted lines it does
// not list yet. Empty wanted lines are skipped, and so is a line the file's text cannot hold
// exactly: a "?" in its place would name another folder. A file that starts with a UTF-16LE or a
// UTF-8 mark is read and extended in its own encoding; any other file in the code page.
ListChange AddMissingLines(const std::filesystem::path& file,
                           const std::vector<std::string>& wanted,
                           SameEntry same,
                           ICodePage& codePage);

// Like AddMissingLines for a missing file; an existing file is the user's and stays as it is.
ListChange CreateListIfMissing(const std::filesystem::path& file,
                               const std::vector<std::string>& lines,
                               SameEntry same,
                               ICodePage& codePage);

}  // namespace ovp
