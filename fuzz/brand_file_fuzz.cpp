// Feeds arbitrary bytes as the brand file and checks the brand product that results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "contract/configuration.h"
#include "contract/folders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ovp::BrandFile brand = ovp::ParseBrandFile(bytes);
    if (!brand.iconFile.empty() && !ovp::IsSafeFolderName(brand.iconFile)) {
        std::abort();
    }
    ovp::ProductSettings settings;
    settings.productNumber = 7;
    settings.installationName = "Other";
    ovp::ApplyBrandFile(settings, brand);
    ovp::ApplyEmptyNameRule(settings);
    if (settings.productNumber != 1 || settings.installationName != "Orvessa Professional" ||
        settings.productName.empty() || settings.caption != settings.productName) {
        std::abort();
    }
    if (ovp::BuildExecutableNames(settings).mutexName != "OVPMonitorexe") {
        std::abort();
    }
    return 0;
}
