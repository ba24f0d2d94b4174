// Feeds the values the status tick and the status window read from the engine's files, of any
// shape, to their parsers and formatters: none may crash, hang or answer out of its range.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/tray_status_monitor.h"
#include "settings/shared_values.h"
#include "ui/date_time_format.h"
#include "ui/schedule_status.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const int state = ovp::ParseContinuousBackupState(input);
    Require(state >= 0 && state <= 10);
    ovp::ParseDllStatus(input);
    // At most 63 UTF-16 units: three UTF-8 bytes each at the most (bytes that are no UTF-8 become
    // the replacement character).
    Require(ovp::CutTrayTip(input).size() <= std::max<std::size_t>(input.size(), 63 * 3));
    ovp::ValidateTalluxDateFormat(input);
    ovp::ValidateTalluxTimeFormat(input);
    ovp::NextBackupSentence(input, "", "dd/MM/yyyy");
    const double bytes = ovp::ParseStoredNumber(input, -1);
    const std::string shown = ovp::FormatSize(bytes, ",");
    Require(shown.size() < 64);
    if (input.size() >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof(raw));
        Require(ovp::FormatSize(raw, ".").size() < 400);
    }
    return 0;
}
