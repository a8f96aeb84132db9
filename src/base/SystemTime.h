#pragma once

#include <cstdint>

namespace qlt {

// Broken-down time in the stored form of account records: eight 16-bit values.
struct SystemTime {
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t dayOfWeek = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    bool isZero() const { return year == 0 && month == 0 && day == 0; }
    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

}  // namespace qlt
