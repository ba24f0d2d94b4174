#pragma once
// Links in tooltip texts. A tip may hold a link as <a href="target">words</a> (or <a>target</a>);
// the tooltip control reports only that a link was followed, not which, so the target is read
// back from the tip's text.

#include <string>
#include <string_view>

namespace ovp {

// The target of the first link in text: its href (in double or single quotes), or, for a link
// without one, its words; "" when text holds no complete link.
std::string TooltipLinkTarget(std::string_view text);

}  // namespace ovp
