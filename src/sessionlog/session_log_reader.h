#pragma once
// Reads an engine log line by line without holding more than a small buffer: logs can be hundreds
// of megabytes. The encoding is told by the byte-order mark: UTF-16LE, UTF-8, or without one the
// system (ANSI) code page. Lines come out as UTF-8 without their line end.

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/code_page.h"

namespace ovp {

class LogLineReader {
  public:
    // A line longer than this keeps its start; the rest of it is skipped.
    static constexpr std::size_t kMaxLineBytes = 8 * 1024;

    LogLineReader(const std::filesystem::path& file, ICodePage& codePage);

    bool IsOpen() const { return open_; }
    // The next line; false at the end of the file or after a read error.
    bool NextLine(std::string& line);

  private:
    enum class Encoding { Ansi, Utf8, Utf16Le };

    bool Fill();
    void Decode(std::string& line) const;

    std::ifstream stream_;
    ICodePage& codePage_;
    bool open_ = false;
    Encoding encoding_ = Encoding::Ansi;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    std::string raw_;
};

}  // namespace ovp
