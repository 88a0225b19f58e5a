// The main window's timers.
#pragma once

#include <cstdint>

namespace tarnuvo {

enum TimerId : uint32_t { RefreshTimer = 1, BlinkTimer = 2, TrayAnimationTimer = 3 };

constexpr uint32_t kRefreshIntervalMs = 50;
constexpr uint32_t kBlinkIntervalMs = 500;
constexpr uint32_t kTrayAnimationIntervalMs = 400;

}  // namespace tarnuvo
