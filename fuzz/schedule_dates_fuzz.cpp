// Feeds stored schedule values (NextRun, WeekDays, Frequency) of any shape to the date rules:
// none may crash, loop, or answer with a date that does not exist.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scheduler/schedule_dates.h"
#include "scheduler/schedule_proposals.h"

namespace {

class FixedClock : public ovp::IClock {
  public:
    ovp::DateTime Now() override { return {2026, 12, 31, 23, 55, 0}; }
    std::uint64_t TickMs() override { return 0; }
    void Sleep(std::uint32_t) override {}
    void WaitPumping(std::uint32_t) override {}
};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void RequireStampOrEmpty(const std::string& text) {
    Require(text.empty() || ovp::ReadScheduleStamp(text).has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('|');
    const std::string_view stamp = input.substr(0, split);
    const std::string_view weekDays = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    FixedClock clock;

    const std::string key = ovp::Sch_SortBuildDate(stamp);
    Require(key.empty() || key.size() == 12);
    RequireStampOrEmpty(ovp::ValidateAddDay1(stamp, weekDays));
    const int code = ovp::Schwiz_validate_Start4(stamp, clock);
    Require(code == ovp::kSchStartAccepted || code == ovp::kSchStartPassed);

    const ovp::ProposedStart proposed = ovp::Sch_ProposeOpeningStart(stamp, clock);
    Require(proposed.start.IsValid() && proposed.monthDay >= 1 && proposed.monthDay <= 31);
    if (const auto at = ovp::ReadScheduleStamp(stamp)) {
        for (int monthDay = 0; monthDay <= 32; monthDay += 8) {
            const ovp::StartCheck check = ovp::Sch_CheckStartWithRetry(*at, *at, "5", monthDay, clock);
            Require(check.calendar.IsValid() || check.calendar.year > 9999);
        }
        const ovp::SavedRunDates dates = ovp::Sch_SavedRunDates(*at, *at, "6", weekDays, size % 2 == 1, clock);
        RequireStampOrEmpty(dates.nextRun);
        Require(dates.nextRun.empty() == dates.sortKey.empty());
    }
    return 0;
}
