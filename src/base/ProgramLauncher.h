#pragma once

#include <string>

namespace qlt {

// Starts programs for the user, detached from this process.
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;

    // Starts the program of a command line (see CommandLine.h for its
    // quoting). A text that is the absolute path of an existing file as a
    // whole is that program, so a stored path with blanks in it needs no
    // quotes. False when the program could not be started.
    virtual bool start(const std::string& commandLine) = 0;
};

}  // namespace qlt
