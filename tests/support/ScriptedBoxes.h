#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/UiPort.h"

namespace qlt::test {

// Message boxes answered in place of the user: each box is recorded, then
// answered from the queue, or with its first button when the queue is empty.
class ScriptedBoxes {
  public:
    struct Box {
        std::string title;
        std::string text;
        BoxIcon icon;
        BoxButtons buttons;
    };

    void queueAnswer(BoxAnswer answer) { m_answers.push_back(answer); }

    BoxAnswer answerBox(Box box) {
        boxes.push_back(std::move(box));
        if (onMessageBox) onMessageBox(boxes.back());
        if (m_answers.empty()) return firstButton(boxes.back().buttons);
        const BoxAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    // The box titles in order.
    std::vector<std::string> titles() const {
        std::vector<std::string> out;
        for (const Box& box : boxes) out.push_back(box.title);
        return out;
    }

    // Run at every box, after it was recorded.
    std::function<void(const Box&)> onMessageBox;
    std::vector<Box> boxes;

  private:
    static BoxAnswer firstButton(BoxButtons buttons) {
        return (buttons == BoxButtons::Ok || buttons == BoxButtons::OkCancel) ? BoxAnswer::Ok
                                                                              : BoxAnswer::Yes;
    }

    std::deque<BoxAnswer> m_answers;
};

}  // namespace qlt::test
