#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>

namespace qlt::test {

// A child of `parent` found by its object name; a missing one fails loudly.
template <class T>
T& child(QWidget& parent, const char* name) {
    auto* found = parent.findChild<T*>(QLatin1String(name));
    if (found == nullptr) throw std::runtime_error(std::string("no child ") + name);
    return *found;
}

// Answers the next modal dialog of type D: `fill` works on it once it is
// open; a dialog still open afterwards (its OK refused) is cancelled, so a
// test never waits on it. Looks again for a while if it is not open yet,
// then closes whatever modal window is open.
template <class D>
void answerNextDialog(std::function<void(D&)> fill, int triesLeft = 100) {
    QTimer::singleShot(10, [fill, triesLeft] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (triesLeft > 0) return answerNextDialog<D>(fill, triesLeft - 1);
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) other->reject();
            return;
        }
        fill(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

}  // namespace qlt::test
