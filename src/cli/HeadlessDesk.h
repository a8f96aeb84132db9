#pragma once

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "base/MailtoHandler.h"
#include "base/ProgramLauncher.h"
#include "base/ProgressCodes.h"
#include "cli/StderrUiPort.h"
#include "store/WindowGeometry.h"

namespace qlt::cli {

// The mail checker's front end in scripted use: boxes become lines on
// standard error and get their first button (the command's flags have
// decided before anything is asked), the Enter Password dialog gets the
// password the command was given, and the deleted count is kept.
class HeadlessUiPort : public StderrUiPort {
  public:
    explicit HeadlessUiPort(std::string password) : m_password(std::move(password)) {}

    void progress(int code, long value) override {
        if (code == kProgressDeleteEnd) deleted = value;
    }
    std::optional<Credentials> askPassword(const std::string& userName) override {
        if (m_password.empty()) return std::nullopt;
        return Credentials{userName, m_password};
    }

    long deleted = 0;

  private:
    std::string m_password;
};

// No window: nothing is ever moved, and clean keeps what the checker saves,
// the position with it, out of the profile.
class HeadlessWindow final : public WindowGeometry {
  public:
    Rect windowRect() const override { return {}; }
    void moveTopLeft(std::int32_t, std::int32_t) override {}
    // An empty screen: the loaded position is never applied to anything.
    Size screenSize() const override { return {}; }
};

class NoLauncher final : public ProgramLauncher {
  public:
    bool start(const std::string&) override { return false; }
};

class NoMailto final : public MailtoHandler {
  public:
    std::string command() const override { return {}; }
};

}  // namespace qlt::cli
