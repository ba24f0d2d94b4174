#pragma once
// The tray pictures' state colours, kept once: scripts/draw-icons draws assets/Images from this
// table, and the end-to-end tray observer and scripts/demo tell which state an icon on the screen
// shows by it. Both scripts read the entries as they stand here: keep one entry to a line.

#include <cstdint>
#include <string_view>

namespace ovp::standin {

struct IconPaint {
    std::string_view file;  // in assets/Images
    std::string_view state;
    std::uint32_t rgb;  // 0xRRGGBB, the disc behind the white glyph
};

inline constexpr IconPaint kIconPalette[] = {
    {"ovlog.ico", "normal", 0x2F5D8C},
    {"ovlogyellow.ico", "running", 0xF2C200},
    {"ovlogyellowp.ico", "running-brand", 0xF2C200},
    {"ovlogred.ico", "failed", 0xD62828},
    {"ovloggreen.ico", "completed", 0x2E9E3E},
    {"CDPBlue1.ico", "continuous-1", 0x1E88E5},
    {"CDPBlue2.ico", "continuous-2", 0x90CAF9},
    {"QExceed1.ico", "quota-1", 0xE65100},
    {"QExceed2.ico", "quota-2", 0x7A2E00},
};

}  // namespace ovp::standin
