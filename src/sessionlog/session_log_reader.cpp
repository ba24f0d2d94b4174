#include "sessionlog/session_log_reader.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"

namespace ovp {

namespace {

constexpr std::size_t kChunkBytes = 64 * 1024;

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80u) == 0; });
}

}  // namespace

LogLineReader::LogLineReader(const std::filesystem::path& file, ICodePage& codePage)
    : stream_(file, std::ios::binary), codePage_(codePage), buffer_(kChunkBytes) {
    open_ = stream_.is_open();
    if (!open_ || !Fill()) {
        return;
    }
    const std::string_view start(buffer_.data(), size_);
    if (start.starts_with("\xFF\xFE")) {
        encoding_ = Encoding::Utf16Le;
        position_ = 2;
    } else if (start.starts_with("\xEF\xBB\xBF")) {
        encoding_ = Encoding::Utf8;
        position_ = 3;
    }
}

bool LogLineReader::Fill() {
    if (!stream_) {
        return false;
    }
    stream_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    size_ = static_cast<std::size_t>(stream_.gcount());
    position_ = 0;
    return size_ > 0;
}

bool LogLineReader::NextLine(std::string& line) {
    if (!open_) {
        return false;
    }
    raw_.clear();
    bool any = false;
    if (encoding_ == Encoding::Utf16Le) {
        // A unit may straddle two chunks: its first byte waits here.
        char low = 0;
        bool haveLow = false;
        for (;;) {
            if (position_ >= size_ && !Fill()) {
                break;
            }
            any = true;
            const char byte = buffer_[position_++];
            if (!haveLow) {
                low = byte;
                haveLow = true;
                continue;
            }
            haveLow = false;
            if (low == '\n' && byte == '\0') {
                break;
            }
            if (raw_.size() + 2 <= kMaxLineBytes) {
                raw_ += low;
                raw_ += byte;
            }
        }
    } else {
        for (;;) {
            if (position_ >= size_ && !Fill()) {
                break;
            }
            any = true;
            const char* start = buffer_.data() + position_;
            const auto* end = static_cast<const char*>(std::memchr(start, '\n', size_ - position_));
            const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - start) : size_ - position_;
            raw_.append(start, std::min(length, kMaxLineBytes - std::min(raw_.size(), kMaxLineBytes)));
            position_ += length;
            if (end != nullptr) {
                ++position_;
                break;
            }
        }
    }
    if (!any) {
        return false;
    }
    Decode(raw_);
    line.swap(raw_);
    return true;
}

void LogLineReader::Decode(std::string& line) const {
    switch (encoding_) {
        case Encoding::Utf16Le: {
            std::u16string units(line.size() / 2, u'\0');
            for (std::size_t i = 0; i < units.size(); ++i) {
                units[i] = static_cast<char16_t>(static_cast<unsigned char>(line[2 * i]) |
                                                 (static_cast<unsigned char>(line[2 * i + 1]) << 8));
            }
            line = Utf16ToUtf8(units);
            break;
        }
        case Encoding::Utf8:
            break;
        case Encoding::Ansi:
            if (!IsAscii(line)) {
                line = codePage_.AnsiToUtf8(line);
            }
            break;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
}

}  // namespace ovp
