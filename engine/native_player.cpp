#include "engine/native_player.h"

#include <climits>
#include <cstring>

#include "engine/adpcm.h"

namespace tarnuvo {

NativePlayer::~NativePlayer() {
    releaseSource();
}

void NativePlayer::releaseSource() {
    mapped_.release();
    vorbis_.release();
    kind_ = NoSource;
    base_ = nullptr;
    dataOffset_ = blockSize_ = dataBytes_ = pcmBytes_ = 0;
}

void NativePlayer::reset() {
    releaseSource();
    ended = true;
    drained = false;
    state = Stopped;
    streamPos = 0;
    playedPos = 0;
    skipCount = false;
    hasPendingStart = false;
    Player::reset();
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
    int64_t size = mapped_.size();
    WavLayout wav = identifyWav(mapped_.data(), mapped_.size(), *this);
    if (wav.kind != NoSource) {
        kind_ = wav.kind;
        base_ = mapped_.data();
        dataOffset_ = wav.dataOffset;
        blockSize_ = wav.blockSize;
        dataBytes_ = wav.dataBytes;
        pcmBytes_ = wav.pcmBytes;
    } else {
        mapped_.release();
        const uint32_t keepLength = length;
        size = vorbis_.open(file, *this);
        if (size >= 0) {
            kind_ = Vorbis;
            base_ = vorbis_.header();
            dataOffset_ = VorbisSource::kHeaderBytes;
            blockSize_ = 4;
            pcmBytes_ = dataBytes_ = vorbis_.dataBytes();
            length = infoKnown ? keepLength : vorbis_.dataBytes();
        }
    }
    loading = 0;
    if (kind_ == NoSource || dataOffset_ == 0) {
        reset();
        return -1;
    }
    length &= ~3u;  // whole sample frames only
    if (probeOnly) {
        releaseSource();
        return 0;
    }
    if (kind_ == Vorbis) mapped_.release();
    elapsed = 0;
    loopsDone = loopsRead = 0;
    return size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
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
    }
    if (!hasPendingStart) {
        streamPos = 0;
        playedPos = 0;
        // The decoder may stand anywhere after an earlier playback.
        repositionNext_ = true;
    }
    state = Playing;
    vorbis_.clearCarry();
}

uint32_t NativePlayer::clampCount(uint32_t n) const {
    const uint32_t end = rangeEnd < pcmBytes_ ? rangeEnd : pcmBytes_;
    if (streamPos >= end) return 0;
    return end - streamPos < n ? end - streamPos : n;
}

uint32_t NativePlayer::read(uint8_t* dst, uint32_t n, bool reposition, uint32_t position) {
    if (reposition) streamPos = position;
    const uint32_t c = clampCount(n);
    uint32_t got = 0;
    switch (kind_) {
        case Pcm:
            if (c) std::memcpy(dst, base_ + dataOffset_ + streamPos, c);
            got = c;
            break;
        case Adpcm:
            if (c) decodeAdpcm(dst, base_ + dataOffset_, dataBytes_, streamPos, c);
            got = c;
            break;
        case Vorbis:
            if (reposition) vorbis_.seekFrame(position / kBytesPerFrame);
            got = vorbis_.read(dst, c);
            break;
        default:
            break;
    }
    streamPos += got;
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
    uint32_t position = streamPos;
    repositionNext_ = false;
    if (hasPendingStart) {
        const uint32_t q = pendingStart & ~3u;
        skipCount = true;
        b.mark = static_cast<intptr_t>(q);
        b.seekStart = true;
        reposition = true;
        position = q;
    }
    alignas(4) int16_t samples[kBufferBytes / 2];
    uint8_t* staging = reinterpret_cast<uint8_t*>(samples);
    uint32_t filled = read(staging, kBufferBytes, reposition, position);
    hasPendingStart = false;

    uint32_t len = kBufferBytes;
    if (filled < kBufferBytes) {
        bool trackEnds = false;
        // A loop range shorter than the rest of the buffer wraps again, so the
        // buffer always holds whole, gapless passes.
        while (filled < kBufferBytes) {
            if (!wrapAllowed()) {
                trackEnds = true;
                break;
            }
            ++loopsRead;
            const int32_t mode = currentPlayMode();
            if (mode != RepeatOne && loopsRead == static_cast<uint32_t>(currentLoopCount())) {
                rangeEnd = length;  // the pass starting now is the last; it runs through the tail
            }
            const uint32_t got = read(staging + filled, kBufferBytes - filled, true, rangeStart);
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
            len = filled;
            b.mark = kEndMark;
            endCommand = endOfTrackCommand(currentPlayMode());
        } else {
            b.mark = static_cast<intptr_t>(streamPos);
        }
    }

    if (gain != 1.0f) {
        for (uint32_t i = 0; i < len / 2; ++i) {
            samples[i] = static_cast<int16_t>(static_cast<float>(samples[i]) * gain);
        }
    }
    std::memcpy(b.data, staging, len);
    b.length = len;
    sink.queue(headerIndex, b);
}

bool NativePlayer::accountBuffer(uint32_t index) {
    OutputBuffer& b = buffers_[index];
    elapsed += b.length;
    playedPos += b.length;
    loopsDone += b.wraps;
    if (b.seekStart) skipCount = false;
    if (b.mark == kEndMark) return true;
    if (b.mark != kPlainMark) {
        // A seek start's mark is its first byte; its end lies a buffer further.
        playedPos = static_cast<uint32_t>(b.mark) + (b.wraps == 0 ? b.length : 0);
    }
    return false;
}

void NativePlayer::discardBuffer(uint32_t index) {
    OutputBuffer& b = buffers_[index];
    loopsRead = loopsRead >= b.wraps ? loopsRead - b.wraps : 0;
    b.wraps = 0;
}

}  // namespace tarnuvo
