#pragma once

#include "base/ProgramLauncher.h"

namespace qlt {

// Starts programs detached through QProcess; the program outlives us.
class DesktopProgramLauncher final : public ProgramLauncher {
  public:
    bool start(const std::string& commandLine) override;
};

}  // namespace qlt
