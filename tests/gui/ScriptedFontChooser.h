#pragma once

#include <optional>
#include <vector>

#include "ui/PreviewFont.h"

namespace qlt::test {

// Answers the font chooser in place of the user and records what it offered.
class ScriptedFontChooser final : public ui::FontChooser {
  public:
    std::optional<QFont> chooseFont(const QFont& initial, QWidget*) override {
        offered.push_back(initial);
        return answer;
    }
    std::optional<QFont> answer;
    std::vector<QFont> offered;
};

}  // namespace qlt::test
