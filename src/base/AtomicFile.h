#pragma once

#include <string>
#include <string_view>

namespace qlt {

// Replaces the file's whole content: the bytes go to a new file beside it,
// reach the disk, and the new file is then renamed over the old one, so a
// crash leaves either the old content or the new, never a mix. No temporary
// file is left behind. A new file gets `mode` under the umask. Returns 0, or
// the errno value of the step that failed.
int writeFileAtomically(const std::string& path, std::string_view content, unsigned mode = 0666);

}  // namespace qlt
