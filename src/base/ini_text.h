#pragma once
// Read-only ini text with the reading rules of Windows private-profile files, for files the
// monitor only reads and wants to parse as a whole (and fuzz) instead of asking key by key:
// - sections and keys compare case-insensitively (ASCII);
// - the first occurrence of a key wins, and of a section: a section named again adds nothing;
// - blanks and tabs around section names, keys and values are dropped;
// - a value wrapped in one pair of matching double or single quotes loses that pair;
// - a line whose first non-blank character is ';' is a comment; a ';' later on belongs to the value;
// - CR and LF each end a line; a line without '=' is a key without a value; text before the first
//   section is ignored.

#include <map>
#include <string>
#include <string_view>

namespace ovp {

// A value as the private-profile functions of Windows read it from its line: blanks and tabs
// around it dropped, then one pair of matching double or single quotes around it removed. So
// 'a' reads as a, ""a"" as "a", and a lone quote or quotes that do not match stay.
std::string_view ProfileValueAsRead(std::string_view stored);

// What to store so that ProfileValueAsRead gives the value back exactly. A line holds one value,
// so only the value up to its first CR, LF or NUL can be kept. That part is wrapped in one more
// pair of double quotes when reading would drop something from it: blanks or tabs at either end,
// or quotes around it (an obscured $...$ is '...'). A lone quote is wrapped as well, since three
// quotes read as one whether or not a reader leaves a lone quote alone. Any other value is stored
// as it is, so the engine and a person reading the file see what they always saw.
std::string ProfileValueToStore(std::string_view value);

class IniText {
  public:
    // Parses UTF-8 text.
    static IniText Parse(std::string_view utf8);
    // Parses the raw bytes of a file: BOMs, UTF-16LE and Windows-1252 are decoded first.
    static IniText FromFileBytes(std::string_view bytes);

    // The whole value as written (after the trimming and quote rules above); "" when missing.
    std::string Get(std::string_view section, std::string_view key) const;
    bool Has(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;

  private:
    using Keys = std::map<std::string, std::string, std::less<>>;
    const std::string* Find(std::string_view section, std::string_view key) const;

    // Lower-case section name -> lower-case key -> value.
    std::map<std::string, Keys, std::less<>> sections_;
};

}  // namespace ovp
