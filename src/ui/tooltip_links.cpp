#include "ui/tooltip_links.h"

#include <cctype>

namespace ovp {

namespace {

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - at < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The position of the next opening tag of a link at or after from; npos when there is none.
std::size_t FindLinkStart(std::string_view text, std::size_t from) {
    for (std::size_t at = text.find('<', from); at != std::string_view::npos; at = text.find('<', at + 1)) {
        if (StartsWithNoCase(text, at, "<a>") || StartsWithNoCase(text, at, "<a ")) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::size_t FindNoCase(std::string_view text, std::string_view lowerNeedle, std::size_t from) {
    for (std::size_t at = from; at < text.size(); ++at) {
        if (StartsWithNoCase(text, at, lowerNeedle)) {
            return at;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string TooltipLinkTarget(std::string_view text) {
    const std::size_t start = FindLinkStart(text, 0);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::size_t tagEnd = text.find('>', start);
    const std::size_t close = tagEnd == std::string_view::npos ? tagEnd : FindNoCase(text, "</a>", tagEnd);
    if (close == std::string_view::npos) {
        return {};
    }
    const std::string_view tag = text.substr(start, tagEnd - start);
    const std::size_t href = FindNoCase(tag, "href=", 0);
    if (href != std::string_view::npos && href + 5 < tag.size() && (tag[href + 5] == '"' || tag[href + 5] == '\'')) {
        const std::size_t valueStart = href + 6;
        const std::size_t valueEnd = tag.find(tag[href + 5], valueStart);
        if (valueEnd != std::string_view::npos) {
            return std::string(tag.substr(valueStart, valueEnd - valueStart));
        }
    }
    return std::string(text.substr(tagEnd + 1, close - tagEnd - 1));
}

}  // namespace ovp
