#pragma once
// Port: how the user's locale writes dates and numbers, for the few texts that follow it.

#include <string>

namespace ovp {

class ILocaleFormat {
  public:
    virtual ~ILocaleFormat() = default;
    // The user's short-date pattern, e.g. "M/d/yyyy" or "dd/MM/yyyy"; "" when unknown.
    virtual std::string ShortDatePattern() = 0;
    // The user's decimal separator, e.g. "." or ","; "." when unknown.
    virtual std::string DecimalSeparator() = 0;
};

}  // namespace ovp
