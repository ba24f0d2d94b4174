#include "contract/locale_file.h"

#include <limits>

#include "base/files.h"
#include "base/text.h"
#include "contract/engine_contract.h"
#include "contract/folders.h"

namespace ovp {

namespace {

constexpr std::string_view kBrandWord = "Tallux";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n' || next == 't' || next == '\\') {
                out += next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

LocaleTexts ParseLocaleTexts(std::string_view utf8) {
    // Text from an editor may still start with its BOM, which must not hide the first id.
    if (utf8.starts_with(kUtf8Bom)) {
        utf8.remove_prefix(kUtf8Bom.size());
    }
    LocaleTexts texts;
    for (std::string_view line : Split(utf8, "\n")) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const auto lead = line.find_first_not_of(" \t");
        if (lead == std::string_view::npos || line[lead] == ';' || line[lead] == '#') {
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const auto id = ParseInteger(line.substr(0, equals));
        if (!id || *id < std::numeric_limits<int>::min() || *id > std::numeric_limits<int>::max()) {
            continue;
        }
        texts.emplace(static_cast<int>(*id), Unescape(line.substr(equals + 1)));
    }
    return texts;
}

std::filesystem::path LocaleFilePath(const std::filesystem::path& appFolder, std::string_view language) {
    const std::string name = std::string(language) + std::string(contract::kLanguageFileSuffix);
    if (language.empty() || !IsSafeFolderName(name)) {
        return {};
    }
    return appFolder / PathFromUtf8(contract::kLanguageFolder) / PathFromUtf8(name);
}

std::string LocaleFile::Text(int id) {
    if (!loaded_) {
        loaded_ = true;
        if (!file_.empty()) {
            if (const auto bytes = ReadFileBytes(file_)) {
                texts_ = ParseLocaleTexts(DecodeTextFile(*bytes));
            }
        }
    }
    const auto found = texts_.find(id);
    return found == texts_.end() ? std::string() : found->second;
}

std::string GetLocaleString(ILocaleText& texts, int id) {
    return CutAtNul(texts.Text(id));
}

std::string ReplaceBrandWord(std::string_view text, std::string_view name) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    while (true) {
        const auto at = text.find(kBrandWord, start);
        if (at == std::string_view::npos) {
            out += text.substr(start);
            return out;
        }
        out += text.substr(start, at - start);
        out += name;
        start = at + kBrandWord.size();
    }
}

std::string LocaleStringOr(ILocaleText& texts, int id, std::string_view englishDefault, std::string_view brandName) {
    const std::string text = GetLocaleString(texts, id);
    return text.empty() ? std::string(englishDefault) : ReplaceBrandWord(text, brandName);
}

}  // namespace ovp
