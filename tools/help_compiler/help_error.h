#pragma once

#include <stdexcept>
#include <string>

namespace quor6::help {

// A fault in the help source, reported with the source line it was found on (0 when it
// concerns the document as a whole).
class HelpError : public std::runtime_error {
  public:
    HelpError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}

    int line() const { return line_; }

  private:
    int line_;
};

}  // namespace quor6::help
