#include "base/ini_text.h"

#include "base/text.h"

namespace ovp {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsBlank(char c) {
    return kBlanks.find(c) != std::string_view::npos;
}

}  // namespace

std::string_view ProfileValueAsRead(std::string_view stored) {
    const std::string_view value = TrimBlanks(stored);
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string ProfileValueToStore(std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    if (value.empty()) {
        return {};
    }
    const bool changedByReading =
        IsBlank(value.front()) || IsBlank(value.back()) || (IsQuote(value.front()) && value.back() == value.front());
    if (!changedByReading) {
        return std::string(value);
    }
    std::string stored;
    stored.reserve(value.size() + 2);
    stored.append(1, '"').append(value).append(1, '"');
    return stored;
}

IniText IniText::Parse(std::string_view utf8) {
    // Text from an editor may still start with its BOM, which must not hide the first header.
    if (utf8.starts_with(kUtf8Bom)) {
        utf8.remove_prefix(kUtf8Bom.size());
    }
    IniText ini;
    Keys* current = nullptr;
    std::size_t start = 0;
    while (start < utf8.size()) {
        auto end = utf8.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = utf8.size();
        }
        std::string_view line = TrimBlanks(utf8.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const auto close = line.rfind(']');
            // A broken header neither opens a section nor is a key line of the previous one.
            if (close == std::string_view::npos) {
                current = nullptr;
                continue;
            }
            // A section named again adds nothing: only its first occurrence is looked in.
            const auto [section, isNew] =
                ini.sections_.try_emplace(ToLowerAscii(TrimBlanks(line.substr(1, close - 1))));
            current = isNew ? &section->second : nullptr;
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        const auto equals = line.find('=');
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        const std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
        // emplace keeps the first occurrence.
        current->emplace(ToLowerAscii(key), std::string(ProfileValueAsRead(value)));
    }
    return ini;
}

IniText IniText::FromFileBytes(std::string_view bytes) {
    return Parse(DecodeTextFile(bytes));
}

const std::string* IniText::Find(std::string_view section, std::string_view key) const {
    const auto foundSection = sections_.find(ToLowerAscii(section));
    if (foundSection == sections_.end()) {
        return nullptr;
    }
    const auto foundKey = foundSection->second.find(ToLowerAscii(key));
    return foundKey == foundSection->second.end() ? nullptr : &foundKey->second;
}

std::string IniText::Get(std::string_view section, std::string_view key) const {
    const std::string* value = Find(section, key);
    return value == nullptr ? std::string() : *value;
}

bool IniText::Has(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

bool IniText::HasSection(std::string_view section) const {
    return sections_.find(ToLowerAscii(section)) != sections_.end();
}

}  // namespace ovp
