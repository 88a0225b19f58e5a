// The fixed size of every path and text field the layers pass around.
#pragma once

#include <cstdint>

namespace tarnuvo {

constexpr uint32_t kTextSize = 260;  // 259 characters and a terminating zero

}  // namespace tarnuvo
