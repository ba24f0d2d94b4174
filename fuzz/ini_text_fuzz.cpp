// Feeds arbitrary file bytes to the ini reader and checks its answers agree with each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ovp::IniText decoded = ovp::IniText::FromFileBytes(bytes);
    const ovp::IniText raw = ovp::IniText::Parse(bytes);
    for (const ovp::IniText* ini : {&decoded, &raw}) {
        for (std::string_view section : {"S", "ProductInfo", ""}) {
            for (std::string_view key : {"k", "ProductName", ""}) {
                if (!ini->Has(section, key) && !ini->Get(section, key).empty()) {
                    std::abort();
                }
                if (ini->Has(section, key) && !ini->HasSection(section)) {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
