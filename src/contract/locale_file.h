#pragma once
// The localisation component: one UTF-8 text file per language, Lang\<Language>.txt in the
// application folder, with one text per line:
//
//     1625=Fehler
//     ; a comment
//     1497=Do you want to upgrade to the latest version of Tallux?
//
// The id is a whole number (blanks around it allowed); the text is everything after the first '='
// up to the end of the line, kept exactly, blanks included, because many texts are joined to others
// at a blank. Escapes: "\n" is a line break, "\t" a tab, "\\" one backslash; any other backslash
// stays as written (so paths need no escaping). Lines starting with ';' or '#', blank lines and
// lines without a valid id are skipped; the first line for an id wins. A UTF-8 or UTF-16LE BOM is
// honoured, and a file that is not valid UTF-8 is read as Windows-1252.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/locale_text.h"

namespace ovp {

using LocaleTexts = std::map<int, std::string>;

// Parses the text of a language file (already decoded to UTF-8).
LocaleTexts ParseLocaleTexts(std::string_view utf8);

// The language file of a language; empty when the language cannot name a file (empty, or a name
// that would lead outside the language folder).
std::filesystem::path LocaleFilePath(const std::filesystem::path& appFolder, std::string_view language);

// The texts of one language, read from its file on first use and kept for the program's life.
// A missing or unreadable file answers "" for every id, so every caller keeps its English text.
class LocaleFile : public ILocaleText {
  public:
    LocaleFile(const std::filesystem::path& appFolder, std::string_view language)
        : file_(LocaleFilePath(appFolder, language)) {}

    std::string Text(int id) override;

  private:
    std::filesystem::path file_;
    bool loaded_ = false;
    LocaleTexts texts_;
};

// The text with that id cut at its first NUL; "" means the caller uses its built-in English text.
std::string GetLocaleString(ILocaleText& texts, int id);

// Every "Tallux" in text replaced by name.
std::string ReplaceBrandWord(std::string_view text, std::string_view name);

// The localised text with the brand word replaced by brandName, or englishDefault unchanged when
// there is no localised text (callers build their English texts with the right name already).
std::string LocaleStringOr(ILocaleText& texts, int id, std::string_view englishDefault, std::string_view brandName);

}  // namespace ovp
