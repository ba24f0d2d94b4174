#pragma once
// The two ways the monitor talks to the user through its own message box, and how big the box
// is for a message.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/locale_text.h"
#include "platform/message_box.h"

namespace ovp {

// A notice: only "Close" is shown. iconKind is "info" or, for warnings, "warn".
void Notice(IMessageBox& box, std::string_view message, std::uintptr_t owner, std::string_view iconKind = "info");

// A question with "Yes" and "No": true means "Yes"; closing the box in any other way means "No".
bool Question(IMessageBox& box, std::string_view message, std::uintptr_t owner);

// A question with the two buttons captioned as given: true means the first; closing the box in any
// other way counts as the second. An empty title leaves the product caption.
bool Question(IMessageBox& box,
              std::string_view message,
              std::string_view firstCaption,
              std::string_view secondCaption,
              std::uintptr_t owner,
              std::string_view title = {});

// The message box with the button captions of the monitor's notices and questions ("OK", "Close",
// "Yes", "No", "Cancel", "Proceed") in the language of the language file; other captions, and
// every caption until texts are given, are shown as they come.
class LocalisedMessageBox final : public IMessageBox {
  public:
    explicit LocalisedMessageBox(IMessageBox& box) : box_(box) {}
    void UseTexts(ILocaleText& texts, std::string brandName);
    bool Show(const MessageBoxRequest& request) override;

  private:
    std::string Caption(const std::string& english) const;

    IMessageBox& box_;
    ILocaleText* texts_ = nullptr;
    std::string brandName_;
};

// The box is laid out in lines of the dialog font. A message of up to kMessageLineChars characters
// sits on one line; a longer one is wrapped at blanks into lines of at most that many characters
// (a longer word is cut), and every line break of the message starts a new line. The box always
// has room for kMessageMinLines lines and grows one line at a time with the message, up to
// kMessageMaxLines; beyond that it keeps that height and the message scrolls, so the buttons stay
// on the screen whatever the message.
inline constexpr int kMessageLineChars = 65;
inline constexpr int kMessageMinLines = 2;
inline constexpr int kMessageMaxLines = 16;

struct MessageBoxLayout {
    int lines = 1;                        // lines the message needs
    int visibleLines = kMessageMinLines;  // lines the box has room for
    bool scrolls = false;                 // the message needs more lines than the box shows
};

// The number of lines a message needs at kMessageLineChars characters (not bytes) a line.
int MessageLineCount(std::string_view message);

// The layout for a message that needs that many lines.
MessageBoxLayout MessageBoxLayoutForLines(int lines);

inline MessageBoxLayout MessageBoxLayoutFor(std::string_view message) {
    return MessageBoxLayoutForLines(MessageLineCount(message));
}

}  // namespace ovp
