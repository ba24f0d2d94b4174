#include "ui/message_box.h"

#include <algorithm>

#include "base/text.h"
#include "contract/locale_file.h"

namespace ovp {

void Notice(IMessageBox& box, std::string_view message, std::uintptr_t owner, std::string_view iconKind) {
    MessageBoxRequest request;
    request.message = std::string(message);
    request.firstCaption = "OK";
    request.secondCaption = "Close";
    request.showFirst = false;
    request.showSecond = true;
    request.iconKind = std::string(iconKind);
    request.owner = owner;
    box.Show(request);
}

bool Question(IMessageBox& box, std::string_view message, std::uintptr_t owner) {
    return Question(box, message, "Yes", "No", owner);
}

bool Question(IMessageBox& box,
              std::string_view message,
              std::string_view firstCaption,
              std::string_view secondCaption,
              std::uintptr_t owner,
              std::string_view title) {
    MessageBoxRequest request;
    request.message = std::string(message);
    request.firstCaption = std::string(firstCaption);
    request.secondCaption = std::string(secondCaption);
    request.showFirst = true;
    request.showSecond = true;
    request.iconKind = "question";
    request.title = std::string(title);
    request.owner = owner;
    return box.Show(request);
}

namespace {

struct ButtonWord {
    std::string_view english;
    int textId;
};

constexpr ButtonWord kButtonWords[] = {
    {"OK", 5200}, {"Close", 5201}, {"Yes", 5202}, {"No", 5203}, {"Cancel", 5204}, {"Proceed", 5205},
};

}  // namespace

void LocalisedMessageBox::UseTexts(ILocaleText& texts, std::string brandName) {
    texts_ = &texts;
    brandName_ = std::move(brandName);
}

bool LocalisedMessageBox::Show(const MessageBoxRequest& request) {
    MessageBoxRequest localised = request;
    localised.firstCaption = Caption(request.firstCaption);
    localised.secondCaption = Caption(request.secondCaption);
    return box_.Show(localised);
}

std::string LocalisedMessageBox::Caption(const std::string& english) const {
    if (texts_ == nullptr) {
        return english;
    }
    for (const ButtonWord& word : kButtonWords) {
        if (word.english == english) {
            return LocaleStringOr(*texts_, word.textId, english, brandName_);
        }
    }
    return english;
}

namespace {

// Lines one paragraph (text without line breaks) needs: words are put on a line while they fit,
// a word longer than a whole line is cut into pieces of a line each.
int ParagraphLines(std::u32string_view paragraph) {
    const auto width = static_cast<std::size_t>(kMessageLineChars);
    int lines = 1;
    std::size_t used = 0;  // characters on the current line
    std::size_t at = 0;
    while (at < paragraph.size()) {
        const std::size_t wordEnd = std::min(paragraph.find(U' ', at), paragraph.size());
        std::size_t word = wordEnd - at;
        const std::size_t needed = used == 0 ? word : used + 1 + word;
        if (needed <= width) {
            used = needed;
        } else {
            if (used != 0) {
                ++lines;
            }
            while (word > width) {
                ++lines;
                word -= width;
            }
            used = word;
        }
        at = wordEnd + 1;
    }
    return lines;
}

}  // namespace

int MessageLineCount(std::string_view message) {
    const std::u32string text = Utf8ToCodePoints(message);
    int lines = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find_first_of(U"\r\n", start);
        const std::size_t stop = end == std::u32string::npos ? text.size() : end;
        lines += ParagraphLines(std::u32string_view(text).substr(start, stop - start));
        if (end == std::u32string::npos) {
            return lines;
        }
        // CR LF is one break, as are a lone CR and a lone LF.
        start = text[end] == U'\r' && end + 1 < text.size() && text[end + 1] == U'\n' ? end + 2 : end + 1;
    }
}

MessageBoxLayout MessageBoxLayoutForLines(int lines) {
    MessageBoxLayout layout;
    layout.lines = std::max(lines, 1);
    layout.visibleLines = std::clamp(layout.lines, kMessageMinLines, kMessageMaxLines);
    layout.scrolls = layout.lines > kMessageMaxLines;
    return layout;
}

}  // namespace ovp
