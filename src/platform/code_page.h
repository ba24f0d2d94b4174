#pragma once
// Port: the system (ANSI) code page, in which the engine reads and writes its plain text files.
// The core keeps UTF-8; files the engine shares as "system code page text" are converted here.

#include <string>
#include <string_view>

namespace ovp {

// Bytes in the code page, and whether they say exactly what the UTF-8 text said.
struct AnsiText {
    std::string bytes;
    // False when at least one character has no place in the code page: it was replaced (by the
    // code page's default character), so the bytes must not be stored as if they were the text.
    bool exact = true;
};

class ICodePage {
  public:
    virtual ~ICodePage() = default;
    // Every byte sequence decodes to something; bytes the code page leaves undefined become the
    // characters Windows gives them, never an error.
    virtual std::string AnsiToUtf8(std::string_view bytes) = 0;
    // Never approximates: a character without its own code (no best-fit "o" for "ő") makes the
    // result inexact.
    virtual AnsiText Utf8ToAnsi(std::string_view utf8) = 0;
};

}  // namespace ovp
