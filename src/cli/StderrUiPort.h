#pragma once

#include <iostream>

#include "base/UiPort.h"

namespace qlt::cli {

// The command line's front end: message boxes become lines on standard error
// and are answered with their first button.
class StderrUiPort : public UiPort {
  public:
    BoxAnswer messageBox(const std::string& title, const std::string& text, BoxIcon,
                         BoxButtons buttons) override {
        std::cerr << title << ": " << text << '\n';
        return (buttons == BoxButtons::Ok || buttons == BoxButtons::OkCancel) ? BoxAnswer::Ok
                                                                              : BoxAnswer::Yes;
    }
    void progress(int, long) override {}
    void pumpPaint() override {}
    void pumpMessages() override {}
};

}  // namespace qlt::cli
