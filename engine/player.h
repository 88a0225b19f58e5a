// The abstract player. A playlist entry is a bare Player that never plays;
// entries and players exchange data by copying the TrackInfo part.
#pragma once

#include <cstdint>

#include "engine/player_environment.h"
#include "engine/track_info.h"

namespace tarnuvo {

constexpr int32_t kPauseOn = 1;
constexpr int32_t kPauseOff = 2;

// End-of-track commands posted to the owner window.
constexpr uint32_t kCmdStop = 41010;
constexpr uint32_t kCmdNext = 41020;
constexpr uint32_t kCmdRandom = 41022;

// The command that ends a track in the given play mode; 0 when none is posted.
uint32_t endOfTrackCommand(int32_t playMode);

// True when the track's loop points can be used against its length: set,
// ordered, representable in time units, and starting inside the track.
bool loopUsableFor(const TrackInfo& track);
// Whether a fade after the last pass would replace the track's tail under
// these settings (see Player::fadeApplies).
bool fadeAppliesTo(const TrackInfo& track, const PlayerEnvironment& env);

class Player : public TrackInfo {
public:
    Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The virtual operations in slot order.
    virtual ~Player();
    virtual void attach(WindowHandle owner, PlayerEnvironment* env);
    virtual void reset();
    virtual int32_t open(const char* name, int32_t listIndex, int32_t probeOnly,
                         const TrackInfo* tmpl);
    virtual int32_t play(intptr_t unused);
    virtual int32_t pause(int32_t mode);
    virtual int32_t seek(uint32_t position);
    virtual int32_t stop();
    virtual void applyLoopRange();
    virtual uint32_t position();
    virtual uint32_t elapsedTotal();
    virtual int32_t getVolume(int32_t* level);
    virtual int32_t setVolume(uint32_t level);
    virtual int32_t isDirectShow();

    TrackInfo& info() { return *this; }
    const TrackInfo& info() const { return *this; }

    // The playback settings in force (defaults when no environment is attached).
    int32_t currentPlayMode() const;
    int32_t currentLoopCount() const;
    int32_t currentLoopIgnore() const;

    // True when the loop points can be used against `length`: set, ordered,
    // representable in time units, and starting inside the track.
    bool loopUsable() const;
    // The track's length in its own frames.
    uint32_t lengthFrames() const;

    // True when a fade after the last pass replaces this track's tail: the
    // setting is on, the loop range is in effect with at least one pass, and
    // the mode is not RepeatOne. Once a playing track reaches its tail the
    // answer is fixed until the next open.
    virtual bool fadeApplies() const;
    // Time units left until the end of the fade, from the place heard;
    // -1 when no fade applies.
    virtual int64_t fadeRemaining();

protected:
    // Steps 1 to 5 of every concrete open: reset, names, template, and
    // resolution of an archive member. Fills fileToOpen.
    void openCommon(const char* name, int32_t listIndex, int32_t probeOnly, const TrackInfo* tmpl,
                    char (&fileToOpen)[kTextSize]);
    // The same in two halves, for players that do work in between.
    void openStart(const char* name, int32_t listIndex, int32_t probeOnly, const TrackInfo* tmpl);
    void resolveFile(char (&fileToOpen)[kTextSize]);

    void resetTrackInfo();

    // The range in effect in the track's own frames, beside rangeStart and
    // rangeEnd in time units; the native player streams by these.
    uint32_t rangeStartFrame = 0;
    uint32_t rangeEndFrame = 0;

    // The fade, once the stream reached the tail's start T (in output
    // frames: stream position + wraps × loop length): whether it runs, and
    // its values then, which later setting changes leave alone.
    struct FadePlan {
        bool decided = false;
        bool on = false;
        uint32_t passes = 0;      // N
        uint64_t tailStart = 0;   // T
        uint32_t delay = 0;       // D, frames
        uint32_t length = 0;      // F, frames
        uint32_t loopLength = 0;  // L, frames
        uint64_t end() const { return tailStart + delay + length; }
    };
    FadePlan fade_;
    // The plan for a tail starting at output frame `t`, by the settings now.
    FadePlan planFade(uint64_t t) const;
    void decideFade(uint64_t t);
    // The loop range stays in effect after the last pass: a fade follows.
    bool fadeHoldsLoop() const { return fadeApplies(); }
};

}  // namespace tarnuvo
