#include "support/ScriptedUiPort.h"

#include <algorithm>

namespace qlt::test {

namespace {

template <typename T>
T takeFront(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty()) return whenEmpty;
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

const char* buttonName(CommandButton button) {
    switch (button) {
        case CommandButton::Scan:
            return "Scan";
        case CommandButton::Delete:
            return "Delete";
        case CommandButton::Analyze:
            return "Analyze";
        case CommandButton::Dump:
            return "Dump";
        case CommandButton::GetMail:
            return "GetMail";
        case CommandButton::Close:
            return "Close";
    }
    return "?";
}

BoxAnswer ScriptedUiPort::messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                     BoxButtons buttons) {
    return answerBox({title, text, icon, buttons});
}

void ScriptedUiPort::progress(int code, long value) {
    progressEvents.emplace_back(code, value);
    if (onProgress) onProgress(code, value);
}

void ScriptedUiPort::pumpMessages() {
    ++messagePumps;
    if (onPumpMessages) onPumpMessages();
}

void ScriptedUiPort::setWaitCursor(bool on) {
    waitDepth += on ? 1 : -1;
    buttonLog.push_back(std::string("wait ") + (on ? "1" : "0"));
}

void ScriptedUiPort::setButtonFace(CommandButton button, ButtonFace face) {
    buttonLog.push_back(std::string(buttonName(button)) + " face " +
                        (face == ButtonFace::Pressed ? "Pressed" : "Normal"));
}

void ScriptedUiPort::setButtonText(CommandButton button, const std::string& text) {
    buttonLog.push_back(std::string(buttonName(button)) + " text " + text);
}

void ScriptedUiPort::setButtonEnabled(CommandButton button, bool enabled) {
    buttonLog.push_back(std::string(buttonName(button)) + " enabled " + (enabled ? "1" : "0"));
}

std::optional<Credentials> ScriptedUiPort::askPassword(const std::string& userName) {
    passwordRequests.push_back(userName);
    return takeFront(m_passwords, std::optional<Credentials>());
}

std::optional<std::string> ScriptedUiPort::chooseFile(const FileRequest& request) {
    fileRequests.push_back(request);
    return takeFront(m_files, std::optional<std::string>());
}

bool ScriptedUiPort::askTrustCertificate(const std::string& accountName, const std::string& reason,
                                         const std::string& fingerprint) {
    trustRequests.push_back({accountName, reason, fingerprint});
    return takeFront(m_trustAnswers, false);
}

bool ScriptedUiPort::sawProgress(int code, std::optional<long> value) const {
    return std::ranges::any_of(progressEvents, [&](const auto& event) {
        return event.first == code && (!value || event.second == *value);
    });
}

}  // namespace qlt::test
