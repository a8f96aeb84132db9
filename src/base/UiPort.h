#pragma once

#include <string>

namespace qlt {

enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

// What the engine asks of its front end. The desktop window implements it;
// the command line and the tests have their own. Every call is made on the
// engine's one thread and returns when it is done.
class UiPort {
  public:
    virtual ~UiPort() = default;

    // A modal message box; returns the button the user chose.
    virtual BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon icon,
                                 BoxButtons buttons) = 0;

    // A progress event: a code of the progress table and its value.
    virtual void progress(int code, long value) = 0;

    // Lets the window repaint while a socket call waits; nothing else runs.
    virtual void pumpPaint() = 0;

    // Runs every pending event (clicks, menus, timers); where STOP gets through.
    virtual void pumpMessages() = 0;
};

}  // namespace qlt
