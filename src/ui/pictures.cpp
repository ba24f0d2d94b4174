#include "ui/pictures.h"

#include <string>

#include "base/files.h"
#include "contract/configuration.h"

namespace ovp {

std::filesystem::path PictureFile(const std::filesystem::path& imagesFolder, std::string_view key) {
    return imagesFolder / PathFromUtf8(std::string(key) + ".bmp");
}

StatusWindowPictures StatusPictures(const ProductSettings& settings, const std::filesystem::path& imagesFolder) {
    return {BrandedPicture(settings, imagesFolder, kNormalIconFile), PictureFile(imagesFolder, kTopRightLogoKey)};
}

std::optional<std::filesystem::path> HandCursorFile(const std::filesystem::path& imagesFolder) {
    std::filesystem::path hand = imagesFolder / PathFromUtf8(kHandCursorFile);
    if (!FileExists(hand)) {
        return std::nullopt;
    }
    return hand;
}

PixelPoint FingertipHotSpot(std::span<const unsigned char> opaque, int width, int height) {
    if (width <= 0 || height <= 0 ||
        opaque.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const auto row = opaque.subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                                        static_cast<std::size_t>(width));
        int first = 0;
        while (first < width && row[static_cast<std::size_t>(first)] == 0) {
            ++first;
        }
        if (first == width) {
            continue;
        }
        int last = first;
        while (last + 1 < width && row[static_cast<std::size_t>(last + 1)] != 0) {
            ++last;
        }
        return {(first + last) / 2, y};
    }
    return {};
}

}  // namespace ovp
