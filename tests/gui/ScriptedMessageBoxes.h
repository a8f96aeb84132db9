#pragma once

#include <string>
#include <vector>

#include "support/ScriptedBoxes.h"
#include "ui/MessageBoxes.h"

namespace qlt::test {

// The window's message boxes answered in advance: queue the answers, read
// back each box and the widget it was shown over.
class ScriptedMessageBoxes final : public ui::MessageBoxes, public ScriptedBoxes {
  public:
    BoxAnswer showBox(const std::string& title, const std::string& text, BoxIcon icon, BoxButtons buttons,
                      QWidget* parent) override {
        parents.push_back(parent);
        return answerBox({title, text, icon, buttons});
    }

    std::vector<QWidget*> parents;
};

}  // namespace qlt::test
