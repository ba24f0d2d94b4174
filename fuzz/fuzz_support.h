#pragma once
// Small pieces the fuzz targets of the shared files have in common.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/text.h"
#include "platform/code_page.h"

namespace ovp::fuzz {

// Latin-1: every byte is its own character, so decoding and encoding are exact inverses and any
// difference after a round trip is the file layer's.
class Latin1CodePage : public ICodePage {
  public:
    std::string AnsiToUtf8(std::string_view bytes) override {
        std::u32string points(bytes.begin(), bytes.end());
        for (auto& point : points) {
            point &= 0xFF;
        }
        return CodePointsToUtf8(points);
    }
    AnsiText Utf8ToAnsi(std::string_view utf8) override {
        AnsiText result;
        for (const char32_t point : Utf8ToCodePoints(utf8)) {
            result.exact = result.exact && point <= 0xFF;
            result.bytes += point <= 0xFF ? static_cast<char>(point) : '?';
        }
        return result;
    }
};

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// One folder per fuzzing process, removed when it ends.
class FuzzFolder {
  public:
    explicit FuzzFolder(std::string_view name)
        : folder_(std::filesystem::temp_directory_path() / (std::string(name) + "-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(folder_);
    }
    ~FuzzFolder() {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;
    const std::filesystem::path& Path() const { return folder_; }

  private:
    std::filesystem::path folder_;
};

}  // namespace ovp::fuzz
