#include "app/column_order.h"

namespace tarnuvo {

bool isColumnPermutation(const int32_t* order, int32_t n) {
    uint32_t seen = 0;
    if (n < 0 || n > 32) return false;
    for (int32_t i = 0; i < n; ++i) {
        if (order[i] < 0 || order[i] >= n) return false;
        uint32_t bit = 1u << order[i];
        if (seen & bit) return false;
        seen |= bit;
    }
    return true;
}

}  // namespace tarnuvo
