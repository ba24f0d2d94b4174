#pragma once
// Hands out the pieces of a text one by one, as the stored lists are split.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ovp {

class Tokenizer {
  public:
    // Stores the text; the separator is a blank.
    void Init(std::string_view text);
    // Sets another separator and splits the stored text at every occurrence of it.
    void setSeparator(std::string_view separator);
    // The next piece, or an empty text after the last one.
    std::string nextToken();
    bool HasMore() const { return next_ < pieces_.size(); }

  private:
    void SplitText();

    std::string text_;
    std::string separator_ = " ";
    std::vector<std::string> pieces_;
    std::size_t next_ = 0;
};

}  // namespace ovp
