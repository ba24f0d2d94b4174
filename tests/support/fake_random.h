#pragma once
// A random source that answers from a script, so that every drawn time is known in advance.

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/random.h"

namespace ovp::test {

class ScriptedRandom : public IRandom {
  public:
    ScriptedRandom() = default;
    ScriptedRandom(std::initializer_list<double> script) : script_(script) {}

    // The scripted values in order; after the last one it is repeated (0.0 when the script is empty).
    double Uniform() override {
        const auto index = static_cast<std::size_t>(draws++);
        return script_.empty() ? 0.0 : index < script_.size() ? script_[index] : script_.back();
    }
    void Seed(std::uint64_t seed) override { seeds.push_back(seed); }

    // A value that falls in the middle of bucket `index` of `buckets` equal parts of [0, 1).
    static double Bucket(int index, int buckets) { return (index + 0.5) / buckets; }

    std::vector<std::uint64_t> seeds;
    int draws = 0;

  private:
    std::vector<double> script_;
};

}  // namespace ovp::test
