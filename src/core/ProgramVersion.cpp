#include "core/ProgramVersion.h"

namespace qlt {

std::string buildText(std::string_view version) {
    return std::string(version.substr(0, kMaxBuildTextLength));
}

std::string programBuildText() {
    return buildText(QLT_VERSION);
}

}  // namespace qlt
