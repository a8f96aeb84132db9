#pragma once

#include <string>
#include <vector>

namespace qlt::cli {

// quillgate-cli dict build SOURCE -o FILE
// quillgate-cli dict dump [FILE] [--userlst PATH]
// args: the words after "dict". Returns the exit code.
int runDict(const std::vector<std::string>& args);

}  // namespace qlt::cli
