#include "report/log_attachment.h"

#include <array>
#include <fstream>

#include "base/text.h"
#include "report/report_encoding.h"

namespace ovp {

namespace {

constexpr std::size_t kPieceBytes = 4096;

enum class Encoding { Ansi, Utf8, Utf16 };

class LineSource {
  public:
    LineSource(std::ifstream& stream, std::uint64_t* bytesRead) : stream_(stream), bytesRead_(bytesRead) {}

    Encoding DetectEncoding() {
        Fill();
        if (Starts("\xFF\xFE")) {
            at_ = 2;
            return Encoding::Utf16;
        }
        if (Starts("\xEF\xBB\xBF")) {
            at_ = 3;
            return Encoding::Utf8;
        }
        return Encoding::Ansi;
    }

    // The next line's bytes (UTF-16 units as two bytes each); false at the end of the file.
    bool NextLine(std::string& line, bool wide, std::size_t maxBytes) {
        line.clear();
        const std::size_t unit = wide ? 2 : 1;
        for (;;) {
            if (available() < unit && !Fill()) {
                return !line.empty();
            }
            if (available() < unit) {
                return !line.empty();
            }
            const char low = buffer_[at_];
            const bool high = wide ? buffer_[at_ + 1] == '\0' : true;
            const bool cr = high && low == '\r';
            const bool lf = high && low == '\n';
            if (cr || lf) {
                at_ += unit;
                if (cr && (available() >= unit || Fill()) && available() >= unit && buffer_[at_] == '\n' &&
                    (!wide || buffer_[at_ + 1] == '\0')) {
                    at_ += unit;
                }
                return true;
            }
            if (line.size() < maxBytes) {
                line.append(buffer_.data() + at_, unit);
            } else {
                return true;  // the rest of an endless line is never needed
            }
            at_ += unit;
        }
    }

  private:
    std::size_t available() const { return size_ - at_; }
    bool Starts(std::string_view mark) const {
        return size_ >= mark.size() && std::string_view(buffer_.data(), mark.size()) == mark;
    }
    // Keeps the unread bytes and reads one more piece after them.
    bool Fill() {
        std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(at_),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(size_), buffer_.begin());
        size_ -= at_;
        at_ = 0;
        if (!stream_) {
            return false;
        }
        stream_.read(buffer_.data() + size_, static_cast<std::streamsize>(kPieceBytes));
        const auto count = static_cast<std::size_t>(stream_.gcount());
        size_ += count;
        if (bytesRead_ != nullptr) {
            *bytesRead_ += count;
        }
        return count > 0;
    }

    std::ifstream& stream_;
    std::uint64_t* bytesRead_;
    std::array<char, 2 * kPieceBytes> buffer_{};
    std::size_t size_ = 0;
    std::size_t at_ = 0;
};

std::string DecodeLine(const std::string& bytes, Encoding encoding, ICodePage& codePage) {
    switch (encoding) {
        case Encoding::Utf16: {
            std::u16string units(bytes.size() / 2, u'\0');
            for (std::size_t i = 0; i < units.size(); ++i) {
                units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
            }
            return Utf16ToUtf8(units);
        }
        case Encoding::Utf8:
            return IsValidUtf8(bytes) ? bytes : codePage.AnsiToUtf8(bytes);
        case Encoding::Ansi:
        default:
            return codePage.AnsiToUtf8(bytes);
    }
}

// Cuts the encoded line to `room` bytes without splitting a "%XX".
std::string_view CutEncoded(std::string_view encoded, std::size_t room) {
    if (encoded.size() <= room) {
        return encoded;
    }
    std::size_t cut = room;
    for (std::size_t back = 1; back <= 2 && back <= cut; ++back) {
        if (encoded[cut - back] == '%') {
            cut -= back;
            break;
        }
    }
    return encoded.substr(0, cut);
}

}  // namespace

std::optional<std::string> ReadLogForReport(const std::filesystem::path& file,
                                            ICodePage& codePage,
                                            IClock& clock,
                                            std::uint64_t* bytesRead) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    LineSource source(stream, bytesRead);
    const Encoding encoding = source.DetectEncoding();
    std::string text;
    std::string raw;
    int lines = 0;
    const std::size_t unit = encoding == Encoding::Utf16 ? 2 : 1;
    // Every character read adds at least one encoded byte, so a line longer than what is left of
    // the budget is never read further.
    while (text.size() < kAttachmentBudgetBytes &&
           source.NextLine(raw, unit == 2, unit * (kAttachmentBudgetBytes - text.size()))) {
        const std::string line = Trim(DecodeLine(raw, encoding, codePage));
        if (line.empty()) {
            continue;
        }
        text += '\n';
        const std::string encoded = URLEncodeWebd(line);
        const std::string_view kept =
            CutEncoded(encoded, kAttachmentBudgetBytes - std::min(text.size(), kAttachmentBudgetBytes));
        text += kept;
        if (kept.size() < encoded.size()) {
            break;  // the budget is spent
        }
        if (++lines % kAttachmentLinesPerYield == 0) {
            clock.WaitPumping(0);
        }
    }
    return text;
}

}  // namespace ovp
