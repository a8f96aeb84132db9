#pragma once

#include <cstdint>

namespace qlt {

// The main window's place on screen, as the front end reports it; keeps the
// saving and restoring of the window position free of any toolkit.
class WindowGeometry {
  public:
    struct Rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
    };
    struct Size {
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    virtual ~WindowGeometry() = default;

    virtual Rect windowRect() const = 0;
    // Moves the top-left corner, keeping the present width and height.
    virtual void moveTopLeft(std::int32_t x, std::int32_t y) = 0;
    virtual Size screenSize() const = 0;
};

}  // namespace qlt
