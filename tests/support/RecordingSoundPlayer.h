#pragma once

#include <string>
#include <vector>

#include "store/Formatting.h"

namespace qlt::test {

// Plays nothing; keeps the paths it was asked to play.
class RecordingSoundPlayer final : public SoundPlayer {
  public:
    bool play(const std::string& path) override {
        played.push_back(path);
        return true;
    }
    std::vector<std::string> played;
};

}  // namespace qlt::test
