// The stored order of the playlist's columns. Platform-free.
#pragma once

#include <cstdint>

namespace tarnuvo {

// True when the n values hold each of 0..n-1 exactly once. Any other order
// would show a column twice and hide another.
bool isColumnPermutation(const int32_t* order, int32_t n);

}  // namespace tarnuvo
