#pragma once

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "base/MailtoHandler.h"
#include "base/ProgramLauncher.h"
#include "base/ProgressCodes.h"
#include "cli/StderrUiPort.h"
#include "store/Settings.h"
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

// No window: the position loaded from the profile is the one saved back, so
// a scripted run never moves the program's window.
class HeadlessWindow final : public WindowGeometry {
  public:
    void keep(const Settings& settings) {
        m_rect = {settings.posX, settings.posY, settings.posX + settings.posW, settings.posY};
    }
    Rect windowRect() const override { return m_rect; }
    void moveTopLeft(std::int32_t, std::int32_t) override {}
    // An empty screen: the loaded position is never applied to anything.
    Size screenSize() const override { return {}; }

  private:
    Rect m_rect;
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
