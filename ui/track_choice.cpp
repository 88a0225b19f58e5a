// Choosing a track: previous, next, random and the jumps all end in
// selecting the target row and playing it.
#include <windows.h>

#include <chrono>

#include "app/window_parts.h"
#include "ui/play_road.h"
#include "ui/list_pane.h"

namespace tarnuvo {

uint32_t randomSeed() {
    // Once per window: seeding at every pick would walk the list in a
    // stride that the clock predicts.
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(ticks >> 32) ^
           static_cast<uint32_t>(GetCurrentProcessId());
}

void PlayRoad::selectAndPlay(int32_t target) {
    const int32_t rows = list_.rowCount();
    if (rows > 0) {
        if (target > rows - 1) target = rows - 1;
        if (target < 0) target = 0;
        list_.selectRow(target);
    }
    playSelected();
}

void PlayRoad::playPrevious() {
    if (playlist_.empty()) {
        advancing_ = 0;
        stopPlayback();
        return;
    }
    int32_t target = playlist_.currentIndex - 1;
    if (target < 0) target = list_.rowCount() - 1;  // also from -1: the last row
    selectAndPlay(target);
}

void PlayRoad::playNext(uint32_t advance) {
    advancing_ = advance;
    if (playlist_.empty()) {
        advancing_ = 0;
        stopPlayback();
        return;
    }
    int32_t target = playlist_.currentIndex + 1;
    if (target >= list_.rowCount()) target = 0;
    selectAndPlay(target);
}

void PlayRoad::playRandom(uint32_t advance) {
    advancing_ = advance;
    if (playlist_.empty()) {
        advancing_ = 0;
        stopPlayback();
        return;
    }
    const int32_t rows = list_.rowCount();
    if (rows <= 0) {
        selectAndPlay(0);
        return;
    }
    const auto n = static_cast<uint32_t>(rows);
    int32_t target = 0;
    do {
        target = static_cast<int32_t>(randomPicks_() % n);
    } while (target == playlist_.currentIndex && n != 1);
    selectAndPlay(target);
}

}  // namespace tarnuvo
