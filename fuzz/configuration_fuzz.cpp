// Feeds arbitrary bytes as Configuration.ini and checks that accepted settings are usable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "contract/configuration.h"
#include "contract/folders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto settings = ovp::ParseConfiguration(bytes);
    if (!settings) {
        return 0;
    }
    if (settings->productNumber == 0 || !ovp::IsSafeFolderName(settings->installationName) ||
        settings->productName.empty() || settings->caption.empty() || settings->treeViewName.empty() ||
        settings->links.upgrade.empty() || settings->links.accountUpgrade.empty()) {
        std::abort();
    }
    const ovp::ExecutableNames names = ovp::BuildExecutableNames(*settings);
    if (names.mutexName.empty() || names.serviceName.empty() || names.tray.empty()) {
        std::abort();
    }
    (void)ovp::DisplayName(*settings);
    return 0;
}
