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

}  // namespace ovp
