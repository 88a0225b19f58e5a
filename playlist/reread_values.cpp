#include "playlist/reread_values.h"

#include <cstring>

namespace tarnuvo {

TrackInfo rereadRecord(const TrackInfo& entry, const TrackInfo& probed) {
    TrackInfo record = entry;
    record.length = probed.length;
    if (probed.hasLoop) {
        record.hasLoop = probed.hasLoop;
        record.loopStart = probed.loopStart;
        record.loopEnd = probed.loopEnd;
    }
    record.infoKnown = 1;
    return record;
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
