#pragma once
// A scripted message box and a recording host of the tray commands.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "commands/command_env.h"
#include "platform/message_box.h"

namespace ovp::test {

// Answers from `answers` in order (true: the first button); once they are used up, every further
// box is answered with the second button, as when the user closes it. `whileOpen` runs while the
// box is open, as window events do.
class ScriptedMessageBox : public IMessageBox {
  public:
    bool Show(const MessageBoxRequest& request) override {
        shown.push_back(request);
        if (whileOpen) {
            whileOpen();
        }
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // The messages shown, each ended by "|".
    std::string Messages() const {
        std::string text;
        for (const MessageBoxRequest& request : shown) {
            text += request.message + "|";
        }
        return text;
    }
    std::deque<bool> answers;
    std::function<void()> whileOpen;
    std::vector<MessageBoxRequest> shown;
};

// Records "CDPTimer on", "CDPTimer off", "busy", "normal", "menu", "open <n>", "exit".
class RecordingCommandHost : public ICommandHost {
  public:
    void ArmCommandTimer(CommandTimer timer, bool armed) override {
        calls.push_back(std::string(timer == CommandTimer::CDPTimer ? "CDPTimer" : "WebMTimer") +
                        (armed ? " on" : " off"));
    }
    void SetBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "normal"); }
    void PopUpTrayMenu(const TrayMenuModel& menu) override {
        calls.push_back("menu");
        popped.push_back(menu);
    }
    void OpenWindow(FeatureWindow window) override {
        calls.push_back("open " + std::to_string(static_cast<int>(window)));
    }
    std::uintptr_t OwnerWindow() override { return 77; }
    void Exit() override { calls.push_back("exit"); }

    std::vector<std::string> calls;
    // The menu as each pop-up showed it.
    std::vector<TrayMenuModel> popped;
};

}  // namespace ovp::test
