#pragma once
// The locale's date and number formats as the test sets them (a United States user by default).

#include <string>

#include "platform/locale_format.h"

namespace ovp::test {

class FakeLocaleFormat : public ILocaleFormat {
  public:
    std::string ShortDatePattern() override { return shortDatePattern; }
    std::string DecimalSeparator() override { return decimalSeparator; }

    std::string shortDatePattern = "M/d/yyyy";
    std::string decimalSeparator = ".";
};

}  // namespace ovp::test
