#pragma once
// Pictures of the images folder as the windows draw them: bitmaps, the hand pointer, and the
// controls that change their picture while the mouse is over them.

#include <windows.h>

#include <filesystem>
#include <string_view>

#include "ui/pictures.h"
#include "win32/unique_resource.h"

namespace ovp::win {

// A .bmp file as a bitmap; null when it is missing or no bitmap.
unique_hbitmap LoadBitmapFile(const std::filesystem::path& file);

// An .ico file at the given size in pixels (0: the file's own size); null when it cannot be read.
unique_hicon LoadIconFile(const std::filesystem::path& file, int size);

// The picture stretched over rect; with seeThrough its magenta (255, 0, 255) pixels are not drawn.
void DrawPicture(HDC dc, const RECT& rect, HBITMAP picture, bool seeThrough = false);

// The colour in the middle of a picture; fallback for none.
COLORREF PictureMiddleColour(HBITMAP picture, COLORREF fallback);

// An owner-drawn help or information picture: one of the system's icons (IDI_QUESTION,
// IDI_INFORMATION) as large as the control allows, centred on the dialog's colour, with the
// focus rectangle of a button that has the keyboard. Its window text stays its caption.
void DrawSystemIconPicture(const DRAWITEMSTRUCT& item, const wchar_t* systemIcon);

// The pointer over links and picture buttons: the images folder's Hand.ico, clicking with its
// fingertip, or the system's hand when that file is missing or unreadable.
class HandCursor {
  public:
    void Load(const std::filesystem::path& imagesFolder);
    HCURSOR Get() const { return owned_ ? owned_.get() : ::LoadCursorW(nullptr, IDC_HAND); }
    bool FromFile() const { return static_cast<bool>(owned_); }

  private:
    unique_hcursor owned_;
};

// An owner-drawn button or static that shows one picture at rest and another while the mouse is
// over it (and a third, where it has one, while it is disabled), with its window text (the
// caption screen readers and tests read) drawn on top.
// Attach subclasses the control; its parent passes the control's WM_DRAWITEM to Draw. A missing
// picture leaves the look of a plain push button (or the bare words, for a static).
class HoverPicture {
  public:
    HoverPicture() = default;
    ~HoverPicture() { Detach(); }
    HoverPicture(const HoverPicture&) = delete;
    HoverPicture& operator=(const HoverPicture&) = delete;

    bool Attach(HWND control, const std::filesystem::path& imagesFolder, HoverPictures keys, COLORREF textColour);
    void Detach() noexcept;
    HWND Control() const { return control_; }

    // Shows the caption in a read-only text box over the picture instead of drawing it; the box
    // never takes the focus (so it never shows a caret) and lets the mouse through to the button.
    bool AddCaptionBox();
    HWND CaptionBox() const { return captionBox_; }

    bool Hovered() const { return hovered_; }
    std::string_view PictureKeyShown() const;
    bool Draw(const DRAWITEMSTRUCT& item) const;

  private:
    static LRESULT CALLBACK
    ControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) noexcept;
    static LRESULT CALLBACK
    CaptionBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self) noexcept;
    void SetHovered(bool hovered);
    void PlaceCaptionBox();

    HWND control_ = nullptr;
    HWND captionBox_ = nullptr;
    HoverPictures keys_{};
    COLORREF textColour_ = 0;
    bool hovered_ = false;
    unique_hbitmap pictures_[3];  // at rest, under the mouse, disabled
    unique_hbrush middles_[2];    // the caption box's background on each picture
};

}  // namespace ovp::win
