#include "base/files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "base/text.h"

namespace ovp {

namespace {

constexpr int kReplaceAttempts = 10;
constexpr auto kReplaceRetryDelay = std::chrono::milliseconds(20);

constexpr std::string_view kTemporaryInfix = ".tmp";

std::atomic<FileFlush> installedFlush{nullptr};

fs::path TemporaryBeside(const fs::path& file) {
    static std::mt19937 generator{std::random_device{}()};
    std::string name = Utf8FromPath(file.filename());
    name += kTemporaryInfix;
    name += std::to_string(generator() % 1000000u);
    return file.parent_path() / PathFromUtf8(name);
}

// Removes "<name>.tmp<digits>" files beside the file. One that another writer still has open
// cannot be removed on Windows and stays.
void RemoveLeftoverTemporaries(const fs::path& file) {
    const std::string prefix = Utf8FromPath(file.filename()) + std::string(kTemporaryInfix);
    std::error_code error;
    for (fs::directory_iterator entry(file.parent_path(), error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = Utf8FromPath(entry->path().filename());
        if (name.size() > prefix.size() && name.starts_with(prefix) &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            std::error_code ignored;
            fs::remove(entry->path(), ignored);
        }
    }
}

bool WriteNewFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

fs::path PathFromUtf8(std::string_view text) {
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<std::string> ReadFileBytes(const fs::path& file, std::uintmax_t maxBytes) {
    const auto size = FileSize(file);
    if (!size || *size > maxBytes) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(*size));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // The file may have changed size since it was measured: keep what was really read.
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

void SetFileFlush(FileFlush flush) {
    installedFlush.store(flush);
}

bool ReplaceFileBytes(const fs::path& file, std::string_view bytes) {
    RemoveLeftoverTemporaries(file);
    const fs::path temporary = TemporaryBeside(file);
    const FileFlush flush = installedFlush.load();
    if (!WriteNewFile(temporary, bytes) || (flush != nullptr && !flush(temporary))) {
        DeleteFileIfExists(temporary);
        return false;
    }
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        std::error_code error;
        fs::rename(temporary, file, error);
        if (!error) {
            return true;
        }
        std::this_thread::sleep_for(kReplaceRetryDelay);
    }
    DeleteFileIfExists(temporary);
    return false;
}

bool AppendFileBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::app);
    if (!out) {
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool AppendUtf16Line(const fs::path& file, std::string_view utf8Line) {
    std::string bytes;
    if (FileSize(file).value_or(0) == 0) {
        bytes = "\xFF\xFE";
    }
    std::u16string line = Utf8ToUtf16(utf8Line);
    line += u"\r\n";
    bytes += Utf16LeBytes(line);
    return AppendFileBytes(file, bytes);
}

bool FileExists(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error);
}

bool FolderExists(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error);
}

std::optional<std::uintmax_t> FileSize(const fs::path& file) {
    std::error_code error;
    const auto size = fs::file_size(file, error);
    if (error) {
        return std::nullopt;
    }
    return size;
}

bool DeleteFileIfExists(const fs::path& file) {
    std::error_code error;
    fs::remove(file, error);
    return !FileExists(file);
}

bool CreateFolders(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return FolderExists(folder);
}

bool CopyFileOverwrite(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

fs::path NewestFileIn(const fs::path& folder) {
    fs::path newest;
    std::optional<fs::file_time_type> newestTime;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::error_code entryError;
        if (!entry->is_regular_file(entryError)) {
            continue;
        }
        const auto modified = entry->last_write_time(entryError);
        if (entryError) {
            continue;
        }
        if (!newestTime || modified > *newestTime) {
            newestTime = modified;
            newest = entry->path();
        }
    }
    return newest;
}

}  // namespace ovp
