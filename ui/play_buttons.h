// Positions of the transport buttons (template order, from IDC_PLAY on).
#pragma once

#include <cstdint>

namespace tarnuvo {

constexpr int32_t kPlayButton = 0;
constexpr int32_t kPauseButton = 1;
constexpr int32_t kStopButton = 2;
constexpr int32_t kPreviousButton = 3;
constexpr int32_t kNextButton = 4;
constexpr int32_t kRandomButton = 5;
constexpr int32_t kButtonCount = 7;

}  // namespace tarnuvo
