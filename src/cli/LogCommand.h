#pragma once

#include <string>
#include <vector>

namespace qlt::cli {

// quillgate-cli log (see its --help): prints the deletion log of the data
// folder, all of it or the last days of it, as text lines or as JSON.
// Returns the exit code: 0 done (also an empty or missing log), 2 usage.
int runLog(const std::vector<std::string>& args);

}  // namespace qlt::cli
