#pragma once

#include "store/WindowGeometry.h"

namespace qlt::test {

// A window that stays where it is, by default at (10, 20) on a 1024 x 768 screen.
class StillWindow final : public WindowGeometry {
  public:
    Rect windowRect() const override { return rect; }
    void moveTopLeft(std::int32_t, std::int32_t) override {}
    Size screenSize() const override { return screen; }

    Rect rect{10, 20, 312, 420};
    Size screen{1024, 768};
};

}  // namespace qlt::test
