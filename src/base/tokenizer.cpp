#include "base/tokenizer.h"

#include "base/text.h"

namespace ovp {

void Tokenizer::Init(std::string_view text) {
    text_ = std::string(text);
    separator_.assign(1, ' ');
    SplitText();
}

void Tokenizer::setSeparator(std::string_view separator) {
    separator_ = std::string(separator);
    SplitText();
}

std::string Tokenizer::nextToken() {
    return next_ < pieces_.size() ? pieces_[next_++] : std::string();
}

void Tokenizer::SplitText() {
    pieces_ = Split(text_, separator_);
    next_ = 0;
}

}  // namespace ovp
