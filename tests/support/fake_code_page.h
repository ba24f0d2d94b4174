#pragma once
// The code-page port as Windows-1252 (Western European), the system code page of most test
// machines, decided in the test itself instead of by the machine's settings.

#include <map>

#include "platform/code_page.h"

namespace ovp::test {

class FakeCodePage : public ICodePage {
  public:
    FakeCodePage();
    std::string AnsiToUtf8(std::string_view bytes) override;
    // Characters outside Windows-1252 become "?" and make the result inexact, as Windows does.
    AnsiText Utf8ToAnsi(std::string_view utf8) override;

  private:
    std::map<char32_t, char> bytesOf_;
};

}  // namespace ovp::test
