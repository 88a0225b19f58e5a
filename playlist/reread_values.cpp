#include "playlist/reread_values.h"

#include <cstring>

#include "engine/units.h"

namespace tarnuvo {
namespace {

// A loop point in frames at `from` as frames at `to`, by way of the 44,100 Hz
// frames that list files hold.
uint32_t atRate(uint32_t frames, uint32_t from, uint32_t to) {
    const uint64_t moved = framesFromListFrames(listFramesFromFrames(frames, from), to);
    return moved > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(moved);
}

}  // namespace

TrackInfo rereadRecord(const TrackInfo& entry, const TrackInfo& probed) {
    TrackInfo record = entry;
    record.length = probed.length;
    record.sampleRate = probed.sampleRate;
    record.frameCount = probed.frameCount;
    if (probed.hasLoop) {
        record.hasLoop = probed.hasLoop;
        record.loopStart = probed.loopStart;
        record.loopEnd = probed.loopEnd;
    } else if (effectiveRate(entry.sampleRate) != effectiveRate(probed.sampleRate)) {
        record.loopStart = atRate(entry.loopStart, entry.sampleRate, probed.sampleRate);
        record.loopEnd = atRate(entry.loopEnd, entry.sampleRate, probed.sampleRate);
    }
    record.infoKnown = 1;
    return record;
}

void storeOpened(Playlist& playlist, int32_t index, const TrackInfo& opened) {
    const TrackInfo* entry = playlist.entryAt(index);
    if (!entry || !entry->infoKnown) return;
    TrackInfo record = *entry;
    copyTiming(record, opened);
    playlist.updateEntry(index, record);
}

bool storeReread(Playlist& playlist, int32_t index, const char* location, const TrackInfo& probed) {
    const TrackInfo* entry = playlist.entryAt(index);
    if (!entry || std::strcmp(entry->location, location) != 0) {
        entry = nullptr;
        for (int32_t i = 0; i < playlist.count(); ++i) {
            if (std::strcmp(playlist.entryAt(i)->location, location) == 0) {
                index = i;
                entry = playlist.entryAt(i);
                break;
            }
        }
    }
    if (!entry) return false;
    playlist.updateEntry(index, rereadRecord(*entry, probed));
    return true;
}

}  // namespace tarnuvo
