#pragma once

#include <string>
#include <string_view>

namespace qlt {

// The command line that starts the mailto handler without a message: the
// handler's own command line with its field codes (%u, %U, %f, ...) taken out
// and words that held nothing but field codes dropped; "%%" becomes "%". The
// program's other arguments stay, since many handlers need them (a sandbox
// runner, an environment wrapper). Empty when the text holds no program or a
// quote is left open.
std::string cleanMailtoCommand(std::string_view command);

}  // namespace qlt
