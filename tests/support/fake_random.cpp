#include "support/fake_random.h"

namespace ovp::test {

double ScriptedRandom::Uniform() {
    const auto index = static_cast<std::size_t>(draws++);
    if (script_.empty()) {
        return 0.0;
    }
    return index < script_.size() ? script_[index] : script_.back();
}

}  // namespace ovp::test
