#include "support/fake_locale_format.h"

namespace ovp::test {

std::string FakeLocaleFormat::ShortDatePattern() {
    ++patternReads;
    return shortDatePattern;
}

std::string FakeLocaleFormat::DecimalSeparator() {
    ++separatorReads;
    return decimalSeparator;
}

}  // namespace ovp::test
