#pragma once
// The resume-next policy of every handler, tick and start-up step: a step that fails ends that
// step only, and the caller goes on with the next one. Nothing escapes into a window procedure
// or a timer callback.

#include <utility>

namespace ovp {

template <typename Step>
void ResumeNext(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
    } catch (...) {
    }
}

// The step's result, or fallback when it failed.
template <typename Step, typename Result>
Result ResumeNextOr(Step&& step, Result fallback) noexcept {
    try {
        return std::forward<Step>(step)();
    } catch (...) {
        return fallback;
    }
}

}  // namespace ovp
