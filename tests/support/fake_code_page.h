#pragma once
// The code-page port as Windows-1252 (Western European), the system code page of most test
// machines, decided in the test itself instead of by the machine's settings.

#include <map>

#include "base/text.h"
#include "platform/code_page.h"

namespace ovp::test {

class FakeCodePage : public ICodePage {
  public:
    FakeCodePage() {
        // The encoder is the decoder read backwards, so the two directions cannot disagree.
        for (int value = 0; value < 256; ++value) {
            const char byte = static_cast<char>(value);
            bytesOf_[Utf8ToCodePoints(Latin1ToUtf8(std::string_view(&byte, 1))).at(0)] = byte;
        }
    }
    std::string AnsiToUtf8(std::string_view bytes) override { return Latin1ToUtf8(bytes); }
    // Characters outside Windows-1252 become "?" and make the result inexact, as Windows does.
    AnsiText Utf8ToAnsi(std::string_view utf8) override {
        AnsiText result;
        for (const char32_t codePoint : Utf8ToCodePoints(utf8)) {
            const auto found = bytesOf_.find(codePoint);
            result.bytes += found == bytesOf_.end() ? '?' : found->second;
            result.exact = result.exact && found != bytesOf_.end();
        }
        return result;
    }

  private:
    std::map<char32_t, char> bytesOf_;
};

}  // namespace ovp::test
