#pragma once
// The locale's date and number formats as the test sets them (a United States user by default).

#include <string>

#include "platform/locale_format.h"

namespace ovp::test {

class FakeLocaleFormat : public ILocaleFormat {
  public:
    std::string ShortDatePattern() override;
    std::string DecimalSeparator() override;

    std::string shortDatePattern = "M/d/yyyy";
    std::string decimalSeparator = ".";
    // How often each was asked: the formats follow the user's settings, so they are read per use.
    int patternReads = 0;
    int separatorReads = 0;
};

}  // namespace ovp::test
