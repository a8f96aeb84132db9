#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/UiPort.h"

namespace qlt::test {

// A front end for tests: records every call, answers message boxes from a
// queue (the first button of the box when the queue is empty).
class ScriptedUiPort : public UiPort {
  public:
    struct Box {
        std::string title;
        std::string text;
        BoxIcon icon;
        BoxButtons buttons;
    };

    void queueAnswer(BoxAnswer answer) { m_answers.push_back(answer); }

    BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    void progress(int code, long value) override { progressEvents.emplace_back(code, value); }
    void pumpPaint() override { ++paintPumps; }
    void pumpMessages() override;

    // Runs once at every pumpMessages, as a click handled in the pump would.
    std::function<void()> onPumpMessages;

    std::vector<Box> boxes;
    std::vector<std::pair<int, long>> progressEvents;
    int paintPumps = 0;
    int messagePumps = 0;

  private:
    std::deque<BoxAnswer> m_answers;
};

}  // namespace qlt::test
