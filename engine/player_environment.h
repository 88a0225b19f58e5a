// What a player needs from the process environment: the playback settings
// and the temporary directory that archive members are extracted into.
#pragma once

#include <cstdint>

#include "engine/track_info.h"

namespace tarnuvo {

// The fade's limits in milliseconds, wherever a length or delay is taken in.
constexpr int32_t kFadeLengthMinMs = 100;
constexpr int32_t kFadeLengthMaxMs = 60000;
constexpr int32_t kFadeDelayMaxMs = 60000;

class PlayerEnvironment {
public:
    virtual ~PlayerEnvironment() = default;

    int32_t playMode = RepeatOne;
    int32_t loopIgnore = 0;
    int32_t loopCount = 0;  // 0..99
    int32_t showVideo = 0;
    // A fade after the last loop pass instead of the tail.
    int32_t fadeOut = 0;
    int32_t fadeLengthMs = 10000;  // 100..60,000
    int32_t fadeDelayMs = 0;       // 0..60,000

    // Directory (with a trailing separator) for extracted archive members;
    // empty when extraction is disabled for this run.
    virtual const char* temporaryDirectory() const { return ""; }

    // The temporary file that an extracted member named `name` becomes: the
    // temporary directory and the name's last component, cut to 259 bytes.
    // False when extraction is disabled. The application's environment also
    // remembers the file so that it can delete it later.
    virtual bool tempFileFor(const char* name, char (&out)[kTextSize]);
};

// Turns an archive member into a file that can be opened. Filled in by the
// archive code; without it a member reference opens the archive itself.
using MemberResolver = bool (*)(const char* archivePath, const char* memberName, WindowHandle owner,
                                PlayerEnvironment* environment, char (&fileToOpen)[kTextSize]);
void setMemberResolver(MemberResolver resolver);
MemberResolver memberResolver();

// Replaces title and artist of `track` with the tags of `path` that are present
// and not empty. Filled in by the tag code; without it no tags are read.
using TagFiller = void (*)(const char* path, WindowHandle owner, TrackInfo& track);
void setTagFiller(TagFiller filler);
TagFiller tagFiller();

}  // namespace tarnuvo
