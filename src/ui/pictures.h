#pragma once
// The pictures the windows take from the images folder: which file stands for which image key,
// which look a picture button shows, where the status window's icon and logo come from and
// where the hand pointer over links and picture buttons comes from.

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "contract/product_config.h"

namespace ovp {

// The looks of a picture button: its image key at rest, under the mouse and, where it has one,
// while it cannot be clicked ("": the look at rest).
struct HoverPictures {
    std::string_view normal;
    std::string_view hover;
    std::string_view disabled = {};
};

// The buttons of the status window and the message box.
inline constexpr HoverPictures kSmallButtonPictures{"Small Btn1", "Small Btn2"};
// The status window's upgrade picture.
inline constexpr HoverPictures kUpgradePictures{"Upgrade1", "Upgrade2"};
// The activity log viewer's paging buttons.
inline constexpr HoverPictures kPreviousPagePictures{"prev def", "prev sel", "prev dis"};
inline constexpr HoverPictures kNextPagePictures{"next def", "next sel", "next dis"};

inline constexpr std::string_view kTopRightLogoKey = "TopRightLogo";
inline constexpr std::string_view kHandCursorFile = "Hand.ico";

inline std::string_view PictureKey(const HoverPictures& pictures, bool hovered, bool enabled = true) {
    if (!enabled && !pictures.disabled.empty()) {
        return pictures.disabled;
    }
    return hovered ? pictures.hover : pictures.normal;
}

// An image key's picture in the images folder: the key, as it stands, with ".bmp".
std::filesystem::path PictureFile(const std::filesystem::path& imagesFolder, std::string_view key);

// The status window's own pictures: its icon (the product's picture, or the brand's custom
// picture in the brand build) and the logo at its top right.
struct StatusWindowPictures {
    std::filesystem::path formIcon;
    std::filesystem::path logo;
};
StatusWindowPictures StatusPictures(const ProductSettings& settings, const std::filesystem::path& imagesFolder);

// The pointer over links and picture buttons: the images folder's hand when it is there;
// nullopt means the system's hand.
std::optional<std::filesystem::path> HandCursorFile(const std::filesystem::path& imagesFolder);

// The point of a pointing hand that clicks: the middle of the first run of opaque pixels in
// the topmost row that has any, which is the fingertip of a hand that points up. opaque holds
// width * height values, row by row from the top, non-zero for an opaque pixel. {0, 0} when no
// pixel is opaque.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};
PixelPoint FingertipHotSpot(std::span<const unsigned char> opaque, int width, int height);

}  // namespace ovp
