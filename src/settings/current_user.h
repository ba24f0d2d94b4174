#pragma once
// The current user: "Default User name" of the Registry section of UserName.ini, value obscured.
// Login writes it and the engine may change it at any time, so it is read afresh on every call.

#include <string>
#include <string_view>

#include "contract/folders.h"
#include "contract/user_name_source.h"
#include "platform/profile_store.h"
#include "settings/exact_profile_store.h"

namespace ovp {

class CurrentUser final : public IUserNameSource {
  public:
    CurrentUser(IProfileStore& store, const Folders& folders) : store_(store), folders_(folders) {}

    // A stored name that cannot be the tail of the user folder's name counts as no user, so that
    // the name the callers see and the folder they use always agree.
    std::string CurrentUserName() override;
    bool WriteCurrentUserName(std::string_view name);

  private:
    ExactProfileStore store_;
    const Folders& folders_;
};

}  // namespace ovp
