// The in-process decoding player without its output device: identification
// of WAV, Ogg Vorbis, MP3, FLAC and Ogg Opus files and the loop-aware
// filling of output buffers.
// The waveOut player and the renderer add the device.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/audio_source.h"
#include "engine/mapped_file.h"
#include "engine/player.h"
#include "engine/sample_convert.h"
#include "engine/wav_source.h"

namespace tarnuvo {

constexpr uint32_t kBufferCount = 8;
constexpr uint32_t kQueueDepth = 4;
constexpr intptr_t kPlainMark = -1;
constexpr intptr_t kEndMark = -2;

// About 46 ms at every rate: 2,048 frames at 44,100 Hz.
uint32_t bufferFramesFor(uint32_t rate);

struct OutputBuffer {
    uint8_t* data = nullptr;  // bufferBytes(); a header without data is never used
    uint32_t length = 0;      // bytes
    uint32_t frames = 0;
    // -1 plain, -2 ends the track, otherwise the frame in the track at the
    // end of a buffer holding a wrap, or the target of a seek start.
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
    int64_t fadeRemaining() override;

    SourceKind kind() const { return kind_; }
    const SourceFormat& sourceFormat() const { return sourceFormat_; }
    // Frames that the file really holds.
    uint32_t availableFrames() const { return source_ ? source_->frames() : 0; }
    OutputBuffer& buffer(uint32_t index) { return buffers_[index]; }
    // Number of headers that have a data block.
    uint32_t usableBuffers() const;

    // The device format asked for first, before any was chosen.
    DeviceFormat preferredDeviceFormat() const { return preferredDevice(sourceFormat_); }
    // The device format in use; chosen by the first play after an open and
    // kept by every later play of that open.
    const DeviceFormat& deviceFormat() const { return stage_.device(); }
    bool deviceChosen() const { return deviceChosen_; }
    void chooseDeviceFormat(const DeviceFormat& device);
    uint32_t bufferFrames() const { return bufferFrames_; }
    uint32_t bufferBytes() const { return bufferFrames_ * deviceFormat().bytesPerFrame(); }

    // Prepares a playback: from the pending seek target, or from the start.
    void beginStream();
    // Fills the next buffer and hands it to the sink (or nothing, once the
    // end of the track has been queued).
    void fillBuffer(BufferSink& sink);
    // Accounts for a buffer the device has played; true when it ended the track.
    bool accountBuffer(uint32_t index);
    // A queued buffer the device returned unheard (a seek or stop reset it).
    void discardBuffer(uint32_t index);
    // Releases a file-based decoder and closes its file (stop, probe); a
    // mapped WAV file stays.
    void releaseDecoder() {
        if (decoder_) decoder_->release();
    }
    // Sets the pending seek target (time units) and reports it as the position.
    void setPendingStart(uint32_t position);
    // Back to the start: stream, heard position and elapsed time.
    void clearCounters();

    uint32_t streamFrame = 0;
    bool hasPendingStart = false;
    uint32_t pendingStart = 0;  // time units
    bool drained = false;
    bool skipCount = false;
    float gain = 1.0f;
    int32_t volumeLevel = -1;
    uint32_t playedPos = 0;  // time units, from playedFrame
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
    // The kinds read through a decoder of their own file; -1 when none takes it.
    int64_t openDecoder(const char* file, TrackInfo& own, bool probeOnly, bool& textsFound);
    void takeFileValues(const TrackInfo& own);
    uint32_t clampCount(uint32_t n) const;
    uint32_t read(uint32_t at, uint32_t n, bool reposition, uint32_t position);
    uint32_t nextHeader(uint32_t index) const;
    bool wrapAllowed() const;
    void setPlayedFrame(uint64_t frame);
    // The stream's output frame: position + wraps × loop length.
    uint64_t outputFrame() const;
    // At the end of the last pass with the fade's fate still open.
    bool atTailStart() const;

    MappedFile mapped_;
    // A source that reads the mapping, or a decoder that owns its file.
    std::unique_ptr<AudioSource> wavSource_;
    std::unique_ptr<AudioSource> decoder_;
    AudioSource* source_ = nullptr;
    SourceKind kind_ = NoSource;
    SourceFormat sourceFormat_;
    OutputStage stage_;
    bool deviceChosen_ = false;
    uint32_t bufferFrames_ = 0;
    // Decoded frames of one buffer before the output stage; float-sized, so
    // it holds either intermediate type.
    std::vector<float> staging_;
    uint64_t playedFrame_ = 0;
    uint64_t elapsedFrames_ = 0;
    uint64_t wrapsHeard_ = 0;  // loopsDone without the fade's cap
    bool repositionNext_ = false;
    OutputBuffer buffers_[kBufferCount];
};

}  // namespace tarnuvo
