// Stand-in for the background engine: it reports that it has started ("Started" "1" in the Orvessa
// section of UserName.ini, as the engine does) and then stays running without a visible window
// until it is ended, closed or the session ends. It does no backup work.

#include <windows.h>

#include "contract/engine_contract.h"
#include "contract/folders.h"
#include "standin_product.h"
#include "win32/profile_store_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    namespace c = ovp::contract;
    constexpr std::string_view kWho = "background";
    const std::filesystem::path appFolder = ovp::standin::OwnFolder();
    const std::optional<ovp::standin::Product> product = ovp::standin::LoadProduct(appFolder);
    if (!product) {
        return 1;
    }
    const ovp::Folders folders(appFolder, product->settings.installationName);
    ovp::win::Win32ProfileStore store;
    store.Write(folders.UserNameFile(), c::kOrvessaSection, c::kStarted, "1");
    ovp::standin::RecordEvent(appFolder, kWho, "started");
    return ovp::standin::StayUntilClosed(appFolder, kWho, L"OVPStandInBackground");
}
