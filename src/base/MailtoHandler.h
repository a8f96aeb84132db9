#pragma once

#include <string>

namespace qlt {

// The desktop's choice of program for mailto links.
class MailtoHandler {
  public:
    virtual ~MailtoHandler() = default;

    // The handler's command line as the desktop stores it, field codes such as
    // %u still in it; empty when no handler is set or it cannot be read.
    virtual std::string command() const = 0;
};

}  // namespace qlt
