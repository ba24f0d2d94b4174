#pragma once
// Port: the product's own modal message box `frmGeneralMessage`. Every question and notice of
// the monitor goes through it, so tests answer them with a script.

#include <cstdint>
#include <string>

namespace ovp {

struct MessageBoxRequest {
    std::string message;
    std::string firstCaption;   // the `Continue` button
    std::string secondCaption;  // the `IDCancel` button
    bool showFirst = false;
    bool showSecond = true;
    // The picture's image key: "info", "question" or "warn".
    std::string iconKind = "info";
    // The box's title (its window text); "" for the product caption.
    std::string title;
    // The window the box belongs to (a window handle); 0 for none.
    std::uintptr_t owner = 0;
};

class IMessageBox {
  public:
    virtual ~IMessageBox() = default;
    // True when the first button was pressed; false for the second or any other way of closing.
    virtual bool Show(const MessageBoxRequest& request) = 0;
};

}  // namespace ovp
