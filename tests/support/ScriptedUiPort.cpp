#include "support/ScriptedUiPort.h"

namespace qlt::test {

namespace {

BoxAnswer firstButton(BoxButtons buttons) {
    return (buttons == BoxButtons::Ok || buttons == BoxButtons::OkCancel) ? BoxAnswer::Ok : BoxAnswer::Yes;
}

}  // namespace

BoxAnswer ScriptedUiPort::messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                     BoxButtons buttons) {
    boxes.push_back({title, text, icon, buttons});
    if (m_answers.empty()) return firstButton(buttons);
    const BoxAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedUiPort::pumpMessages() {
    ++messagePumps;
    if (onPumpMessages) onPumpMessages();
}

}  // namespace qlt::test
