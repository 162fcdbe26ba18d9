#pragma once

#include <cstdint>

// The analyzer's packed date and time: plain binary bytes, not BCD.
struct DateStamp {
    uint8_t Second; // 0..59
    uint8_t Minute; // 0..59
    uint8_t Hour;   // 0..23
    uint8_t Day;    // 1..last day of the month
    uint8_t Month;  // 1..12
    uint8_t Year;   // years after 2000
};
static_assert(sizeof(DateStamp) == 6);
