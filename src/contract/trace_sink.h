#pragma once
// Where the core writes its trace lines. The settings layer traces through this interface, so it
// does not depend on the trace files (which in turn need the current user from the settings).

#include <string_view>

namespace ovp {

class ITraceSink {
  public:
    virtual ~ITraceSink() = default;
    // Appends the text unchanged as one line of the user's trace.
    virtual void WriteTrace(std::string_view text) = 0;
    // Appends date + "  [INFORMATION] " + message.
    virtual void Info(std::string_view message) = 0;
    // Appends date + "   [ERROR] " + message.
    virtual void Error(std::string_view message) = 0;
};

// Passes lines on to a sink that exists only later: the adapters are built before the trace,
// which needs the configuration. Lines before a target is set, and lines that tracing itself
// causes (a trace that reads the current user through a failing adapter), are dropped.
class TraceRelay final : public ITraceSink {
  public:
    void SetTarget(ITraceSink* target) { target_ = target; }
    void WriteTrace(std::string_view text) override { Pass(&ITraceSink::WriteTrace, text); }
    void Info(std::string_view message) override { Pass(&ITraceSink::Info, message); }
    void Error(std::string_view message) override { Pass(&ITraceSink::Error, message); }

  private:
    void Pass(void (ITraceSink::*write)(std::string_view), std::string_view text) {
        if (target_ == nullptr || busy_) {
            return;
        }
        busy_ = true;
        try {
            (target_->*write)(text);
        } catch (...) {
        }
        busy_ = false;
    }

    ITraceSink* target_ = nullptr;
    bool busy_ = false;
};

}  // namespace ovp
