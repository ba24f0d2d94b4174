#pragma once
// One log or trace file as the error report attaches it: read in pieces, never whole, and only
// as far as its share of the report allows.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"

namespace ovp {

// What one file may add to the report, in encoded bytes.
inline constexpr std::size_t kAttachmentBudgetBytes = 20000;
// Window events run after every so many lines.
inline constexpr int kAttachmentLinesPerYield = 50;

// The file's lines (split at CR LF, LF or CR; UTF-16 and UTF-8 told by their byte-order marks,
// anything else in the system code page), each trimmed; empty lines are left out and every other
// one is added as "\n" and its encoded form, until the text reaches the budget. A line that
// would pass the budget is cut to it. Nothing when the file cannot be opened. bytesRead, when
// given, grows by the bytes taken from the file.
std::optional<std::string> ReadLogForReport(const std::filesystem::path& file,
                                            ICodePage& codePage,
                                            IClock& clock,
                                            std::uint64_t* bytesRead = nullptr);

}  // namespace ovp
