#pragma once
// Who the current user is, as the trace and the folders need it.

#include <string>

namespace ovp {

class IUserNameSource {
  public:
    virtual ~IUserNameSource() = default;
    // The current user name, "" when nobody is logged in.
    virtual std::string CurrentUserName() = 0;
};

}  // namespace ovp
