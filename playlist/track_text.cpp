#include "playlist/track_text.h"

#include <cstdio>

#include "engine/text.h"
#include "engine/units.h"

namespace tarnuvo {

namespace {
// One hundredth of a second of PCM: 176400 / 100 bytes.
constexpr uint32_t kBytesPerHundredth = kBytesPerSecond / 100;

size_t formatHundredths(uint32_t hundredths, char* out, size_t outSize) {
    if (!out || outSize == 0) return 0;
    const int n = std::snprintf(out, outSize, "%02u:%02u.%02u", hundredths / 6000,
                                hundredths / 100 % 60, hundredths % 100);
    if (n < 0) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n) < outSize ? static_cast<size_t>(n) : outSize - 1;
}
}  // namespace

size_t formatTime(uint32_t bytes, char* out, size_t outSize) {
    // Integers throughout: a floating-point scale lands just below whole
    // hundredths for many counts and shows them one low.
    return formatHundredths(bytes / kBytesPerHundredth, out, outSize);
}

size_t formatFrameTime(uint32_t frames, uint32_t rate, char* out, size_t outSize) {
    // Frames never become time units here: those need not fit in 32 bits.
    // Only a rate below 100 Hz could count more hundredths than 32 bits hold.
    const uint64_t hundredths = hundredthsFromFrames(frames, rate);
    return formatHundredths(
        hundredths > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(hundredths), out, outSize);
}

const char* RowCells::column(int32_t subItem) const {
    switch (subItem) {
        case kTitleColumn:
            return title;
        case kTimeColumn:
            return time;
        case kLoopColumn:
            return loop;
        case kArtistColumn:
            return artist;
        default:
            return "";
    }
}

void rowCellsOf(const TrackInfo& track, ZeroLength zero, RowCells& out) {
    // A record may come from damaged input: never read past its fields.
    copyText(out.title, kTextSize, track.title, kTextSize - 1);
    copyText(out.artist, kTextSize, track.artist, kTextSize - 1);
    out.time[0] = '\0';
    if (track.length != 0 || zero == ZeroLength::Shown) formatTime(track.length, out.time);
    copyText(out.loop, sizeof out.loop, track.hasLoop ? "Loop" : "");
}

}  // namespace tarnuvo
