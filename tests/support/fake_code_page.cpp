#include "support/fake_code_page.h"

#include "base/text.h"

namespace ovp::test {

FakeCodePage::FakeCodePage() {
    // The encoder is the decoder read backwards, so the two directions cannot disagree.
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const std::u32string decoded = Utf8ToCodePoints(Latin1ToUtf8(std::string_view(&byte, 1)));
        bytesOf_[decoded.at(0)] = byte;
    }
}

std::string FakeCodePage::AnsiToUtf8(std::string_view bytes) {
    return Latin1ToUtf8(bytes);
}

AnsiText FakeCodePage::Utf8ToAnsi(std::string_view utf8) {
    AnsiText result;
    for (const char32_t codePoint : Utf8ToCodePoints(utf8)) {
        const auto found = bytesOf_.find(codePoint);
        if (found == bytesOf_.end()) {
            result.bytes += '?';
            result.exact = false;
        } else {
            result.bytes += found->second;
        }
    }
    return result;
}

}  // namespace ovp::test
