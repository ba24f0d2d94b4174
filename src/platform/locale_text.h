#pragma once
// Port: localised texts by numeric id. An empty answer means "use the built-in English text".

#include <string>

namespace ovp {

class ILocaleText {
  public:
    virtual ~ILocaleText() = default;
    virtual std::string Text(int id) = 0;
};

}  // namespace ovp
