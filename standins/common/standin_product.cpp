#include "standin_product.h"

#include <windows.h>

#include <string>

#include "app/startup.h"
#include "base/files.h"
#include "contract/configuration.h"
#include "contract/folders.h"
#include "settings/current_user.h"
#include "win32/profile_store_win.h"

namespace ovp::standin {

std::filesystem::path OwnFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<Product> LoadProduct(const std::filesystem::path& appFolder) {
    // The same settings the monitor derives at start-up, so the names cannot drift.
    const std::optional<ProductSettings> settings = ReadStartupSettings(appFolder);
    if (!settings) {
        return std::nullopt;
    }
    Product product{*settings, BuildExecutableNames(*settings)};
    return product;
}

std::string CurrentUserName(const std::filesystem::path& appFolder, const ProductSettings& settings) {
    win::Win32ProfileStore store;
    const Folders folders(appFolder, settings.installationName);
    return CurrentUser(store, folders).CurrentUserName();
}

void RecordEvent(const std::filesystem::path& appFolder, std::string_view who, std::string_view event) {
    std::string line(who);
    line += ": ";
    line += event;
    line += "\r\n";
    AppendFileBytes(appFolder / PathFromUtf8(kEventsFile), line);
}

}  // namespace ovp::standin
