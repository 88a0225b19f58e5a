#include "engine/native_player.h"

#include <climits>
#include <cstring>

#include "engine/adpcm_source.h"
#include "engine/flac_source.h"
#include "engine/id3v2.h"
#include "engine/mp3_source.h"
#include "engine/opus_source.h"
#include "engine/pcm_source.h"
#include "engine/player_environment.h"
#include "engine/vorbis_source.h"
#include "engine/text.h"
#include "engine/units.h"

namespace tarnuvo {
namespace {

constexpr uint32_t kMinBufferFrames = 256;

uint32_t clamp32(uint64_t v) {
    return v > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(v);
}

// A loop point stored at `from` Hz (0: an entry from before rates were
// stored, whose points are 44,100 Hz frames) as frames at `to` Hz.
uint32_t convertFrames(uint32_t x, uint32_t from, uint32_t to) {
    const uint64_t at44 = effectiveRate(from) == kUnitRate ? x : listFramesFromFrames(x, from);
    return clamp32(framesFromListFrames(at44, to));
}

enum class Signature { Ogg, Flac, Other };

// Ogg and FLAC by their first bytes (FLAC possibly after an ID3v2 tag), so
// that no decoder searches a file of another kind for a sync word.
Signature signatureOf(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return Signature::Other;
    uint8_t head[kId3v2HeaderBytes] = {};
    size_t got = std::fread(head, 1, sizeof(head), f);
    Signature s = Signature::Other;
    if (got >= 4 && std::memcmp(head, "OggS", 4) == 0) s = Signature::Ogg;
    const uint64_t tag = id3v2TagBytes(head, got);
    if (tag > 0 && tag <= LONG_MAX && std::fseek(f, static_cast<long>(tag), SEEK_SET) == 0) {
        got = std::fread(head, 1, 4, f);
    }
    if (got >= 4 && std::memcmp(head, "fLaC", 4) == 0) s = Signature::Flac;
    std::fclose(f);
    return s;
}

// The size of the 16-bit WAV file that would hold a decoder's frames.
int64_t wavBytesFor(const AudioSource& source) {
    return static_cast<int64_t>(source.frames()) * source.format().channels * 2 +
           VorbisSource::kWavHeaderBytes;
}

}  // namespace

uint32_t bufferFramesFor(uint32_t rate) {
    const uint32_t frames = static_cast<uint32_t>(2048ull * effectiveRate(rate) / kUnitRate) & ~15u;
    return frames < kMinBufferFrames ? kMinBufferFrames : frames;
}

NativePlayer::~NativePlayer() {
    releaseSource();
}

void NativePlayer::releaseSource() {
    wavSource_.reset();  // it points into the mapping
    mapped_.release();
    decoder_.reset();
    source_ = nullptr;
    kind_ = NoSource;
    sourceFormat_ = SourceFormat{};
}

void NativePlayer::reset() {
    releaseSource();
    ended = true;
    drained = false;
    state = Stopped;
    clearCounters();
    skipCount = false;
    hasPendingStart = false;
    deviceChosen_ = false;
    Player::reset();
}

void NativePlayer::clearCounters() {
    streamFrame = 0;
    playedFrame_ = 0;
    playedPos = 0;
    elapsedFrames_ = 0;
    elapsed = 0;
}

int32_t NativePlayer::open(const char* name, int32_t index, int32_t probeOnly,
                           const TrackInfo* tmpl) {
    if (waveOutDisabled) return -1;
    char file[kTextSize];
    openCommon(name, index, probeOnly, tmpl, file);
    if (mapped_.map(file) < 0) {
        reset();
        return -1;
    }
    loading = 1;
    // The file's own values, whatever the template says; merged below.
    TrackInfo own = info();
    own.infoKnown = 0;
    int64_t size = mapped_.size();
    bool textsFound = true;
    const WavLayout wav = identifyWav(mapped_.data(), mapped_.size(), own);
    if (wav.kind != NoSource) {
        if (wav.dataOffset != 0) {
            const uint8_t* data = mapped_.data() + wav.dataOffset;
            if (wav.kind == Pcm) {
                wavSource_ = std::make_unique<PcmSource>(data, wav);
            } else {
                wavSource_ = std::make_unique<AdpcmSource>(data, wav);
            }
            source_ = wavSource_.get();
            kind_ = wav.kind;
        }
    } else {
        mapped_.release();
        size = openDecoder(file, own, probeOnly != 0, textsFound);
    }
    loading = 0;
    if (!source_) {
        reset();
        return -1;
    }
    sourceFormat_ = source_->format();
    takeFileValues(own);
    if (!textsFound && kind_ >= Mp3) {
        // Neither title nor artist in the file: the tag reader may know them.
        if (TagFiller fill = tagFiller()) fill(name, ownerWindow, *this);
    }
    length &= ~3u;  // whole time units of a frame
    if (probeOnly) {
        releaseSource();
        return 0;
    }
    bufferFrames_ = bufferFramesFor(sourceFormat_.rate);
    staging_.assign(static_cast<size_t>(bufferFrames_) * sourceFormat_.channels, 0.0f);
    deviceChosen_ = false;
    stage_.configure(sourceFormat_, preferredDeviceFormat());
    clearCounters();
    loopsDone = loopsRead = 0;
    wrapsHeard_ = 0;
    return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
}

int64_t NativePlayer::openDecoder(const char* file, TrackInfo& own, bool probeOnly,
                                  bool& textsFound) {
    // Vorbis first, as before the other decoders came.
    auto vorbis = std::make_unique<VorbisSource>();
    const int64_t size = vorbis->open(file, own);
    if (size >= 0) {
        decoder_ = std::move(vorbis);
        kind_ = Vorbis;
        source_ = decoder_.get();
        return size;
    }
    const Signature signature = signatureOf(file);
    if (signature == Signature::Ogg) {
        auto opus = std::make_unique<OpusSource>();
        if (opus->open(file, own)) {
            textsFound = opus->textsFound();
            decoder_ = std::move(opus);
            kind_ = Opus;
        }
    } else if (signature == Signature::Flac) {
        auto flac = std::make_unique<FlacSource>();
        if (flac->open(file, own)) {
            textsFound = flac->textsFound();
            decoder_ = std::move(flac);
            kind_ = Flac;
        }
    } else {
        // The exact length of an MP3 needs a pass over every frame: only to play.
        auto mp3 = std::make_unique<Mp3Source>();
        if (mp3->open(file, own, !probeOnly)) {
            textsFound = mp3->textsFound();
            decoder_ = std::move(mp3);
            kind_ = Mp3;
        }
    }
    source_ = decoder_.get();
    return source_ ? wavBytesFor(*source_) : -1;
}

void NativePlayer::takeFileValues(const TrackInfo& own) {
    copyText(title, kTextSize, own.title);
    copyText(artist, kTextSize, own.artist);
    const uint32_t rate = sourceFormat_.rate;
    const uint32_t storedRate = sampleRate;
    const uint32_t fileFrames = source_->frames();
    sampleRate = rate;
    if (!infoKnown) {
        frameCount = fileFrames;
        length = unitsFromFrames(fileFrames, rate);
        hasLoop = own.hasLoop;
        loopStart = own.loopStart;
        loopEnd = own.loopEnd;
    } else if (rate == kUnitRate || storedRate == rate) {
        // The list's length and loop, as they always were at 44,100 Hz.
        if (storedRate != rate || frameCount == 0)
            frameCount = clamp32(framesFromUnits(length, rate));
    } else {
        // Stored before rates were, or for another rate: the list's length
        // came from elsewhere, so the file's own end counts; its loop is
        // converted, and an empty one gives way to the file's own.
        frameCount = fileFrames;
        length = unitsFromFrames(fileFrames, rate);
        if (!hasLoop) {
            hasLoop = own.hasLoop;
            loopStart = own.loopStart;
            loopEnd = own.loopEnd;
        } else {
            loopStart = convertFrames(loopStart, storedRate, rate);
            loopEnd = convertFrames(loopEnd, storedRate, rate);
        }
    }
}

void NativePlayer::chooseDeviceFormat(const DeviceFormat& device) {
    stage_.configure(sourceFormat_, device);
    deviceChosen_ = true;
}

int32_t NativePlayer::getVolume(int32_t* level) {
    *level = volumeLevel;
    return 0;
}

int32_t NativePlayer::setVolume(uint32_t level) {
    volumeLevel = static_cast<int32_t>(level);
    gain = static_cast<float>(level & 0xFFFF) / 65535.0f;
    return 1;
}

uint32_t NativePlayer::usableBuffers() const {
    uint32_t n = 0;
    for (const OutputBuffer& b : buffers_) n += b.data != nullptr;
    return n;
}

void NativePlayer::setPlayedFrame(uint64_t frame) {
    playedFrame_ = frame;
    playedPos = unitsFromFrames(frame, sampleRate);
}

void NativePlayer::setPendingStart(uint32_t position) {
    pendingStart = position;
    hasPendingStart = true;
    // Reported at once, so views never see the old place between the seek
    // and the first buffer heard after it.
    setPlayedFrame(framesFromUnits(position, sampleRate));
}

void NativePlayer::beginStream() {
    ended = false;
    endCommand = 0;
    drained = false;
    headerIndex = 0;
    for (OutputBuffer& b : buffers_) {
        b.mark = kPlainMark;
        b.wraps = 0;
        b.seekStart = false;
        b.length = 0;
        b.frames = 0;
    }
    if (!hasPendingStart) {
        streamFrame = 0;
        setPlayedFrame(0);
        // The decoder may stand anywhere after an earlier playback.
        repositionNext_ = true;
    }
    state = Playing;
}

uint32_t NativePlayer::clampCount(uint32_t n) const {
    const uint32_t available = availableFrames();
    const uint32_t end = rangeEndFrame < available ? rangeEndFrame : available;
    if (streamFrame >= end) return 0;
    if (end - streamFrame < n) n = end - streamFrame;
    if (fade_.on) {
        const uint64_t t = outputFrame();
        const uint64_t left = t < fade_.end() ? fade_.end() - t : 0;
        if (left < n) n = static_cast<uint32_t>(left);
    }
    return n;
}

uint64_t NativePlayer::outputFrame() const {
    const uint64_t loopLength =
        fade_.decided ? fade_.loopLength : uint64_t{rangeEndFrame} - rangeStartFrame;
    return streamFrame + loopsRead * loopLength;
}

bool NativePlayer::atTailStart() const {
    if (fade_.decided || currentPlayMode() == RepeatOne) return false;
    const int32_t count = currentLoopCount();
    return count >= 1 && loopsRead >= static_cast<uint32_t>(count) && fadeHoldsLoop() &&
           streamFrame >= rangeEndFrame;
}

uint32_t NativePlayer::read(uint32_t at, uint32_t n, bool reposition, uint32_t position) {
    if (!source_) return 0;
    if (reposition) {
        streamFrame = position;
        source_->seek(position);
    }
    const uint32_t c = clampCount(n);
    uint8_t* dst =
        reinterpret_cast<uint8_t*>(staging_.data()) +
        static_cast<size_t>(at) * sourceFormat_.channels * sourceFormat_.intermediateBytes();
    const uint32_t got = c ? source_->read(dst, c) : 0;
    streamFrame += got;
    return got;
}

uint32_t NativePlayer::nextHeader(uint32_t index) const {
    for (uint32_t i = 1; i <= kBufferCount; ++i) {
        const uint32_t next = (index + i) % kBufferCount;
        if (buffers_[next].data) return next;
    }
    return (index + 1) % kBufferCount;
}

bool NativePlayer::wrapAllowed() const {
    if (fade_.on) return outputFrame() < fade_.end();
    if (currentPlayMode() == RepeatOne) return true;
    return loopUsable() && loopsRead < static_cast<uint32_t>(currentLoopCount());
}

void NativePlayer::fillBuffer(BufferSink& sink) {
    const bool wasEnd = buffers_[headerIndex].mark == kEndMark;
    headerIndex = nextHeader(headerIndex);
    OutputBuffer& b = buffers_[headerIndex];
    if (!b.data) return;
    b.mark = kPlainMark;
    b.wraps = 0;
    b.seekStart = false;

    bool reposition = repositionNext_;
    uint32_t position = streamFrame;
    repositionNext_ = false;
    if (hasPendingStart) {
        const uint32_t q = clamp32(framesFromUnits(pendingStart, sampleRate));
        skipCount = true;
        b.mark = static_cast<intptr_t>(q);
        b.seekStart = true;
        reposition = true;
        position = q;
    }
    const uint32_t capacity = bufferFrames_;
    const uint32_t firstLoops = loopsRead;
    const uint32_t firstFrame = reposition ? position : streamFrame;
    uint32_t filled = read(0, capacity, reposition, position);
    hasPendingStart = false;

    uint32_t frames = capacity;
    if (filled < capacity) {
        bool trackEnds = false;
        // A loop range shorter than the rest of the buffer wraps again, so the
        // buffer always holds whole, gapless passes.
        while (filled < capacity) {
            if (atTailStart()) {
                decideFade(outputFrame());
                if (!fade_.on) {
                    // The fade was switched off during the last pass: the tail follows.
                    rangeEnd = length;
                    rangeEndFrame = lengthFrames();
                    const uint32_t got = read(filled, capacity - filled, false, 0);
                    filled += got;
                    if (got == 0) trackEnds = true;
                    if (got == 0) break;
                    continue;
                }
            }
            if (!wrapAllowed()) {
                trackEnds = true;
                break;
            }
            ++loopsRead;
            const int32_t mode = currentPlayMode();
            if (mode != RepeatOne && loopsRead == static_cast<uint32_t>(currentLoopCount()) &&
                !fadeHoldsLoop()) {
                // The pass starting now is the last; it runs through the tail.
                rangeEnd = length;
                rangeEndFrame = lengthFrames();
            }
            const uint32_t got = read(filled, capacity - filled, true, rangeStartFrame);
            if (got == 0) {
                // Nothing to loop over: an empty range ends the track.
                --loopsRead;
                trackEnds = true;
                break;
            }
            ++b.wraps;
            filled += got;
        }
        if (trackEnds) {
            if (filled == 0) {
                if (wasEnd || drained) {
                    drained = true;
                    return;
                }
                drained = true;  // an empty buffer carries the end mark to the device
            }
            frames = filled;
            b.mark = kEndMark;
            endCommand = endOfTrackCommand(currentPlayMode());
        } else {
            b.mark = static_cast<intptr_t>(streamFrame);
        }
    }

    stage_.setGain(gain);
    stage_.render(staging_.data(), frames, b.data);
    if (fade_.on) {
        const int64_t first =
            static_cast<int64_t>(firstFrame + uint64_t{firstLoops} * fade_.loopLength);
        const int64_t k = first - static_cast<int64_t>(fade_.tailStart + fade_.delay);
        stage_.fade(staging_.data(), frames, b.data, k, fade_.length);
    }
    b.frames = frames;
    b.length = frames * deviceFormat().bytesPerFrame();
    sink.queue(headerIndex, b);
}

bool NativePlayer::accountBuffer(uint32_t index) {
    OutputBuffer& b = buffers_[index];
    elapsedFrames_ += b.frames;
    elapsed = unitsFromFrames(elapsedFrames_, sampleRate);
    wrapsHeard_ += b.wraps;
    loopsDone += b.wraps;
    // The counter stops at N/N while the fade goes on wrapping.
    if (fade_.on && loopsDone > fade_.passes) loopsDone = fade_.passes;
    if (b.seekStart) skipCount = false;
    if (b.mark == kEndMark) {
        setPlayedFrame(playedFrame_ + b.frames);
        return true;
    }
    if (b.mark != kPlainMark) {
        // A seek start's mark is its first frame; its end lies a buffer further.
        setPlayedFrame(static_cast<uint64_t>(b.mark) + (b.wraps == 0 ? b.frames : 0));
    } else {
        setPlayedFrame(playedFrame_ + b.frames);
    }
    return false;
}

int64_t NativePlayer::fadeRemaining() {
    if (!fadeApplies()) return -1;
    FadePlan plan = fade_;
    if (!plan.decided) {
        // Not yet fixed: the tail would start after N passes of the loop.
        plan = planFade(0);
        const uint32_t frames = lengthFrames();
        const uint32_t e = loopEnd < frames ? loopEnd : frames;
        plan.tailStart = e + uint64_t{plan.passes} * plan.loopLength;
    }
    const uint64_t heard = playedFrame_ + wrapsHeard_ * plan.loopLength;
    return heard >= plan.end() ? 0 : unitsFromFrames64(plan.end() - heard, sampleRate);
}

void NativePlayer::discardBuffer(uint32_t index) {
    OutputBuffer& b = buffers_[index];
    loopsRead = loopsRead >= b.wraps ? loopsRead - b.wraps : 0;
    b.wraps = 0;
}

}  // namespace tarnuvo
