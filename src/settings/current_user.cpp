#include "settings/current_user.h"

#include "contract/engine_contract.h"
#include "settings/obscure.h"

namespace ovp {

std::string CurrentUser::CurrentUserName() {
    try {
        std::string name =
            Unobscure(store_.Read(folders_.UserNameFile(), contract::kRegistrySection, contract::kDefaultUserName));
        if (name.empty() || !IsSafeFolderName(folders_.InstallationName() + name)) {
            return {};
        }
        return name;
    } catch (...) {
        return {};
    }
}

bool CurrentUser::WriteCurrentUserName(std::string_view name) {
    try {
        return store_.Write(folders_.UserNameFile(), contract::kRegistrySection, contract::kDefaultUserName,
                            Obscure(name));
    } catch (...) {
        return false;
    }
}

}  // namespace ovp
