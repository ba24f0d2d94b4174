#include "defaults/list_files.h"

#include <algorithm>
#include <optional>

#include "base/files.h"
#include "base/text.h"

namespace ovp {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class TextKind { CodePage, Utf8, Utf16Le };

struct StoredList {
    TextKind kind = TextKind::CodePage;
    std::vector<std::string> lines;  // UTF-8, without line ends
    bool endsOpen = false;           // the last line has no line end yet
};

// nullopt for a marked file that its mark does not describe (half a UTF-16 unit at the end, or
// bytes that are no UTF-8): lines appended to it would not read back as what was written.
std::optional<StoredList> ParseList(std::string_view bytes, ICodePage& codePage) {
    StoredList list;
    std::string text;
    if (bytes.starts_with(kUtf16LeMark)) {
        if (bytes.size() % 2 != 0) {
            return std::nullopt;
        }
        list.kind = TextKind::Utf16Le;
        text = DecodeTextFile(bytes);
    } else if (bytes.starts_with(kUtf8Mark)) {
        if (!IsValidUtf8(bytes.substr(kUtf8Mark.size()))) {
            return std::nullopt;
        }
        list.kind = TextKind::Utf8;
        text = DecodeTextFile(bytes);
    } else {
        text = codePage.AnsiToUtf8(bytes);
    }
    list.endsOpen = !text.empty() && text.back() != '\n';
    for (std::string& line : Split(text, "\n")) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        list.lines.push_back(std::move(line));
    }
    return list;
}

std::optional<std::string> EncodeLines(const std::vector<std::string>& lines, TextKind kind, ICodePage& codePage) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kLineEnd;
    }
    switch (kind) {
        case TextKind::Utf16Le:
            return Utf16LeBytes(Utf8ToUtf16(text));
        case TextKind::Utf8:
            return text;
        case TextKind::CodePage:
            break;
    }
    AnsiText encoded = codePage.Utf8ToAnsi(text);
    if (!encoded.exact) {
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

bool IsListed(const std::vector<std::string>& lines, std::string_view wanted, SameEntry same) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return same(line, wanted); });
}

// The wanted lines that are not listed yet and that the file's text can hold, in order, each once.
std::vector<std::string> MissingLines(const StoredList& list,
                                      const std::vector<std::string>& wanted,
                                      SameEntry same,
                                      ICodePage& codePage) {
    std::vector<std::string> missing;
    for (const std::string& line : wanted) {
        if (TrimWhitespace(line).empty() || IsListed(list.lines, line, same) || IsListed(missing, line, same) ||
            !EncodeLines({line}, list.kind, codePage)) {
            continue;
        }
        missing.push_back(line);
    }
    return missing;
}

std::string_view NameOfEntry(std::string_view entry) {
    const auto flag = entry.rfind('/');
    return flag == std::string_view::npos ? entry : entry.substr(0, flag);
}

std::string_view WithoutFinalBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

bool SameExcludeEntry(std::string_view listed, std::string_view wanted) {
    return EqualsNoCase(TrimWhitespace(NameOfEntry(TrimWhitespace(listed))),
                        TrimWhitespace(NameOfEntry(TrimWhitespace(wanted))));
}

bool SameFolderPath(std::string_view listed, std::string_view wanted) {
    return EqualsNoCase(WithoutFinalBackslash(TrimWhitespace(listed)), WithoutFinalBackslash(TrimWhitespace(wanted)));
}

ListChange AddMissingLines(const std::filesystem::path& file,
                           const std::vector<std::string>& wanted,
                           SameEntry same,
                           ICodePage& codePage) {
    try {
        const auto bytes = ReadFileBytes(file);
        if (!bytes) {
            if (FileExists(file)) {
                // There, but not readable: appending blind could list an entry twice.
                return ListChange::Failed;
            }
            const auto missing = MissingLines(StoredList{}, wanted, same, codePage);
            const auto encoded = EncodeLines(missing, TextKind::CodePage, codePage);
            return encoded && ReplaceFileBytes(file, *encoded) ? ListChange::Created : ListChange::Failed;
        }
        const auto parsed = ParseList(*bytes, codePage);
        if (!parsed) {
            return ListChange::Failed;
        }
        const StoredList& list = *parsed;
        const auto missing = MissingLines(list, wanted, same, codePage);
        if (missing.empty()) {
            return ListChange::Unchanged;
        }
        auto encoded = EncodeLines(missing, list.kind, codePage);
        if (!encoded) {
            return ListChange::Failed;
        }
        if (list.endsOpen) {
            // The user's last line keeps its text; ours starts on a line of its own.
            encoded = *EncodeLines({std::string()}, list.kind, codePage) + *encoded;
        }
        return AppendFileBytes(file, *encoded) ? ListChange::Extended : ListChange::Failed;
    } catch (...) {
        return ListChange::Failed;
    }
}

ListChange CreateListIfMissing(const std::filesystem::path& file,
                               const std::vector<std::string>& lines,
                               SameEntry same,
                               ICodePage& codePage) {
    try {
        if (FileExists(file)) {
            return ListChange::Unchanged;
        }
    } catch (...) {
        return ListChange::Failed;
    }
    return AddMissingLines(file, lines, same, codePage);
}

}  // namespace ovp
