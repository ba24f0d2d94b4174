#pragma once
// The web-management alert `frmWelcome`: a borderless, rounded, topmost pop-up in the corner of
// the work area that fades in to full opacity and stays, can be dragged by its text and is closed
// by its exit button. One window: a second alert replaces the text and fades in again.

#include <windows.h>

#include <filesystem>

#include "commands/web_management.h"
#include "contract/trace_sink.h"
#include "win32/images_win.h"
#include "win32/modeless_dialog.h"

namespace ovp::win {

class WelcomeView final : public ModelessDialog<WelcomeView> {
  public:
    // instance: the module whose resources hold the template; nullptr for the executable.
    explicit WelcomeView(ITraceSink& trace, HINSTANCE instance = nullptr);
    ~WelcomeView();

    WelcomeView(const WelcomeView&) = delete;
    WelcomeView& operator=(const WelcomeView&) = delete;

    void Show(const WebAlert& alert);
    void Close() { Destroy(); }
    bool IsLoaded() const { return window_ != nullptr; }
    bool IsFading() const { return fading_; }

    // The fade's pace; a test may want it quicker.
    void SetFadeInterval(UINT ms) { fadeMs_ = ms; }
    // Where the exit button's pictures come from; for the next loading.
    void SetImagesFolder(std::filesystem::path folder) { imagesFolder_ = std::move(folder); }
    std::string_view ExitPictureShown() const { return exitButton_.PictureKeyShown(); }

  private:
    friend class WindowBase<WelcomeView>;

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFadeTick();
    void OnWindowGone(HWND window) noexcept;

    frmWelcome form_;
    HINSTANCE instance_;
    std::filesystem::path imagesFolder_;
    HoverPicture exitButton_;
    UINT fadeMs_ = kWelcomeFadeMs;
    bool fading_ = false;
};

}  // namespace ovp::win
