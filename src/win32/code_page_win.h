#pragma once
// The code-page port on the process's ANSI code page (CP_ACP).

#include "platform/code_page.h"

namespace ovp::win {

class Win32CodePage final : public ICodePage {
  public:
    std::string AnsiToUtf8(std::string_view bytes) override;
    AnsiText Utf8ToAnsi(std::string_view utf8) override;
};

}  // namespace ovp::win
