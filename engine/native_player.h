// The in-process decoding player without its output device: identification
// of WAV and Ogg Vorbis files and the loop-aware filling of output buffers.
// The waveOut player and the renderer add the device.
#pragma once

#include <cstdint>

#include "engine/mapped_file.h"
#include "engine/player.h"
#include "engine/vorbis_source.h"
#include "engine/wav_source.h"

namespace tarnuvo {

constexpr uint32_t kBufferBytes = 8192;
constexpr uint32_t kBufferCount = 8;
constexpr uint32_t kQueueDepth = 4;
constexpr intptr_t kPlainMark = -1;
constexpr intptr_t kEndMark = -2;

struct OutputBuffer {
    uint8_t* data = nullptr;  // kBufferBytes; a header without data is never used
    uint32_t length = 0;
    // -1 plain, -2 ends the track, otherwise the position in the track at
    // the end of a buffer holding a wrap, or the target of a seek start.
    intptr_t mark = kPlainMark;
    uint32_t wraps = 0;  // loop wraps inside this buffer
    bool seekStart = false;
};

// Receives each filled buffer, in order, to put it on the device.
class BufferSink {
public:
    virtual ~BufferSink() = default;
    virtual void queue(uint32_t index, OutputBuffer& buffer) = 0;
};

class NativePlayer : public Player {
public:
    NativePlayer() = default;
    ~NativePlayer() override;

    void reset() override;
    int32_t open(const char* name, int32_t listIndex, int32_t probeOnly,
                 const TrackInfo* tmpl) override;
    uint32_t position() override { return playedPos; }
    int32_t getVolume(int32_t* level) override;
    int32_t setVolume(uint32_t level) override;

    SourceKind kind() const { return kind_; }
    // PCM bytes that the file really holds.
    uint32_t available() const { return pcmBytes_; }
    OutputBuffer& buffer(uint32_t index) { return buffers_[index]; }
    // Number of headers that have a data block.
    uint32_t usableBuffers() const;

    // Prepares a playback: from the pending seek target, or from the start.
    void beginStream();
    // Fills the next buffer and hands it to the sink (or nothing, once the
    // end of the track has been queued).
    void fillBuffer(BufferSink& sink);
    // Accounts for a buffer the device has played; true when it ended the track.
    bool accountBuffer(uint32_t index);
    // A queued buffer the device returned unheard (a seek or stop reset it).
    void discardBuffer(uint32_t index);
    // Releases the Ogg Vorbis decoder (stop, probe).
    void releaseDecoder() { vorbis_.release(); }

    uint32_t streamPos = 0;
    bool hasPendingStart = false;
    uint32_t pendingStart = 0;
    bool drained = false;
    bool skipCount = false;
    float gain = 1.0f;
    int32_t volumeLevel = -1;
    uint32_t playedPos = 0;
    bool ended = true;
    uint32_t headerIndex = 0;
    // What follows the end of the track, decided by the play mode in force when
    // the buffer that ends it was filled: a mode chosen while that buffer is
    // still queued (RepeatOne included) comes too late to loop the track, so it
    // must not swallow the command either.
    uint32_t endCommand = 0;

protected:
    void releaseSource();

private:
    uint32_t clampCount(uint32_t n) const;
    uint32_t read(uint8_t* dst, uint32_t n, bool reposition, uint32_t position);
    uint32_t nextHeader(uint32_t index) const;
    bool wrapAllowed() const;

    MappedFile mapped_;
    VorbisSource vorbis_;
    SourceKind kind_ = NoSource;
    const uint8_t* base_ = nullptr;
    uint32_t dataOffset_ = 0;
    uint32_t blockSize_ = 0;
    uint32_t dataBytes_ = 0;
    uint32_t pcmBytes_ = 0;
    bool repositionNext_ = false;
    OutputBuffer buffers_[kBufferCount];
};

}  // namespace tarnuvo
