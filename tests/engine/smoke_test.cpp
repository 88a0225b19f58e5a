#include <gtest/gtest.h>

#include "engine/player.h"

TEST(PlayerBase, BareEntryKeepsVolumeUntouched) {
    tarnuvo::Player entry;
    int32_t level = 1234;
    EXPECT_EQ(entry.getVolume(&level), 8);
    EXPECT_EQ(level, 1234);
}
