// Feeds arbitrary bytes as a language file and runs the lookups the monitor makes on its texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/text.h"
#include "contract/locale_file.h"

namespace {

class MapTexts : public ovp::ILocaleText {
  public:
    explicit MapTexts(const ovp::LocaleTexts& texts) : texts_(texts) {}
    std::string Text(int id) override {
        const auto found = texts_.find(id);
        return found == texts_.end() ? std::string() : found->second;
    }

  private:
    const ovp::LocaleTexts& texts_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ovp::LocaleTexts texts = ovp::ParseLocaleTexts(ovp::DecodeTextFile(bytes));
    MapTexts lookup(texts);
    for (const auto& [id, text] : texts) {
        const std::string shown = ovp::LocaleStringOr(lookup, id, "English", "Brand");
        if (shown.find("Tallux") != std::string::npos) {
            std::abort();
        }
    }
    if (ovp::LocaleStringOr(lookup, -123456789, "English", "Brand").empty()) {
        std::abort();
    }
    return 0;
}
