#include "engine/player.h"

#include <atomic>
#include <cstring>

#include "engine/text.h"
#include "engine/units.h"

namespace tarnuvo {

namespace {
std::atomic<MemberResolver> g_resolver{nullptr};
std::atomic<TagFiller> g_tagFiller{nullptr};
const PlayerEnvironment& defaults() {
    static const PlayerEnvironment env;
    return env;
}
}  // namespace

bool PlayerEnvironment::tempFileFor(const char* name, char (&out)[kTextSize]) {
    out[0] = '\0';
    const char* dir = temporaryDirectory();
    if (!dir || !*dir) return false;
    const char* slash = findLastSlash(name);
    const char* base = slash ? slash + 1 : name;
    size_t n = copyText(out, kTextSize, dir);
    copyText(out + n, kTextSize - n, base);
    return true;
}

void setMemberResolver(MemberResolver resolver) {
    g_resolver.store(resolver);
}
MemberResolver memberResolver() {
    return g_resolver.load();
}

void setTagFiller(TagFiller filler) {
    g_tagFiller.store(filler);
}
TagFiller tagFiller() {
    return g_tagFiller.load();
}

uint32_t endOfTrackCommand(int32_t playMode) {
    switch (playMode) {
        case RepeatOne:
            return 0;
        case RepeatAll:
            return kCmdNext;
        case Random:
            return kCmdRandom;
        default:
            return kCmdStop;
    }
}

Player::Player() {
    resetTrackInfo();
}
Player::~Player() {
    resetTrackInfo();
}

void Player::attach(WindowHandle owner, PlayerEnvironment* env) {
    ownerWindow = owner;
    environment = env;
}

void Player::reset() {
    resetTrackInfo();
}

void Player::resetTrackInfo() {
    listIndex = -1;
    infoKnown = 0;
    path[0] = location[0] = title[0] = artist[0] = '\0';
    length = 0;
    sampleRate = 0;
    frameCount = 0;
    hasLoop = 0;
    loopStart = loopEnd = 0;
    loopsDone = loopsRead = 0;
    elapsed = 0;
    rangeStart = rangeEnd = 0;
    rangeStartFrame = rangeEndFrame = 0;
    fade_ = FadePlan{};
    seekable = 1;
}

int32_t Player::open(const char*, int32_t, int32_t, const TrackInfo*) {
    return -1;
}
int32_t Player::play(intptr_t) {
    return 0;
}
int32_t Player::pause(int32_t) {
    return 0;
}
int32_t Player::seek(uint32_t) {
    return 0;
}
int32_t Player::stop() {
    return 0;
}
uint32_t Player::position() {
    return 0;
}
uint32_t Player::elapsedTotal() {
    return elapsed;
}
int32_t Player::getVolume(int32_t*) {
    return 8;
}
int32_t Player::setVolume(uint32_t) {
    return 0;
}
int32_t Player::isDirectShow() {
    return 0;
}

int32_t Player::currentPlayMode() const {
    return (environment ? *environment : defaults()).playMode;
}
int32_t Player::currentLoopCount() const {
    return (environment ? *environment : defaults()).loopCount;
}
int32_t Player::currentLoopIgnore() const {
    return (environment ? *environment : defaults()).loopIgnore;
}

bool loopUsableFor(const TrackInfo& t) {
    return t.hasLoop && t.loopStart < t.loopEnd &&
           unitsFromFrames64(t.loopEnd, t.sampleRate) <= 0xFFFFFFFCu &&
           unitsFromFrames64(t.loopStart, t.sampleRate) < t.length;
}

bool Player::loopUsable() const {
    return loopUsableFor(*this);
}

bool fadeAppliesTo(const TrackInfo& track, const PlayerEnvironment& env) {
    return env.fadeOut != 0 && env.loopIgnore == 0 && env.loopCount >= 1 &&
           env.playMode != RepeatOne && loopUsableFor(track);
}

bool Player::fadeApplies() const {
    if (fade_.decided) return fade_.on;
    return fadeAppliesTo(*this, environment ? *environment : defaults());
}

Player::FadePlan Player::planFade(uint64_t t) const {
    const PlayerEnvironment& env = environment ? *environment : defaults();
    FadePlan plan;
    plan.decided = true;
    plan.on = fadeAppliesTo(*this, env);
    if (!plan.on) return plan;
    auto framesOfMs = [&](int32_t ms, int32_t lo, int32_t hi) {
        const uint64_t clamped = static_cast<uint64_t>(ms < lo ? lo : ms > hi ? hi : ms);
        return static_cast<uint32_t>((clamped * effectiveRate(sampleRate) + 500) / 1000);
    };
    const uint32_t frames = lengthFrames();
    plan.passes = static_cast<uint32_t>(env.loopCount);
    plan.tailStart = t;
    plan.length = framesOfMs(env.fadeLengthMs, kFadeLengthMinMs, kFadeLengthMaxMs);
    plan.delay = framesOfMs(env.fadeDelayMs, 0, kFadeDelayMaxMs);
    plan.loopLength = (loopEnd < frames ? loopEnd : frames) - loopStart;
    return plan;
}

void Player::decideFade(uint64_t t) {
    fade_ = planFade(t);
}

int64_t Player::fadeRemaining() {
    return -1;
}

uint32_t Player::lengthFrames() const {
    if (frameCount != 0) return frameCount;
    const uint64_t frames = framesFromUnits(length, sampleRate);
    return frames > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(frames);
}

void Player::applyLoopRange() {
    uint32_t start = 0, end = length;
    uint32_t startFrame = 0, endFrame = lengthFrames();
    const int32_t mode = currentPlayMode();
    const uint32_t count = static_cast<uint32_t>(currentLoopCount());
    const bool passesLeft = mode == RepeatOne || (count != 0 && loopsRead < count);
    if ((!currentLoopIgnore() && loopUsable() && passesLeft) || fadeHoldsLoop()) {
        start = unitsFromFrames(loopStart, sampleRate);
        end = unitsFromFrames(loopEnd, sampleRate);
        if (end > length) end = length;
        startFrame = loopStart;
        if (loopEnd < endFrame) endFrame = loopEnd;
    }
    rangeStart = start;
    rangeEnd = end;
    rangeStartFrame = startFrame;
    rangeEndFrame = endFrame;
}

void Player::openCommon(const char* name, int32_t index, int32_t probeOnly, const TrackInfo* tmpl,
                        char (&fileToOpen)[kTextSize]) {
    openStart(name, index, probeOnly, tmpl);
    resolveFile(fileToOpen);
}

void Player::openStart(const char* name, int32_t index, int32_t probeOnly, const TrackInfo* tmpl) {
    reset();
    copyText(path, kTextSize, name);
    copyText(location, kTextSize, name);
    title[0] = '\0';
    if (const char* slash = findLastSeparator(path, '\\')) copyText(title, kTextSize, slash + 1);
    listIndex = index;
    if (!probeOnly && index != -1 && tmpl) {
        copyText(title, kTextSize, tmpl->title);
        copyText(artist, kTextSize, tmpl->artist);
        length = tmpl->length;
        sampleRate = tmpl->sampleRate;
        frameCount = tmpl->frameCount;
        hasLoop = tmpl->hasLoop;
        loopStart = tmpl->loopStart;
        loopEnd = tmpl->loopEnd;
        infoKnown = 1;
    }
}

void Player::resolveFile(char (&fileToOpen)[kTextSize]) {
    copyText(fileToOpen, kTextSize, path);
    const char* bar = findLastSeparator(path, '|');
    if (!bar) return;
    char archive[kTextSize];
    const size_t archiveLen = static_cast<size_t>(bar - path);
    std::memcpy(archive, path, archiveLen);
    archive[archiveLen] = '\0';
    copyText(fileToOpen, kTextSize, archive);
    if (MemberResolver resolve = memberResolver()) {
        char resolved[kTextSize] = {};
        if (resolve(archive, bar + 1, ownerWindow, environment, resolved))
            copyText(fileToOpen, kTextSize, resolved);
    }
}

}  // namespace tarnuvo
