// FLAC through libFLAC's stream decoder: any rate, 1 to 8 channels, 8 to
// 24 bits. Up to 16 bits a sample x becomes the int16 x × 2^(16 − b), exact
// on a 16-bit device; wider ones the float x / 2^(b − 1).
#pragma once

#include <FLAC/stream_decoder.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/audio_source.h"
#include "engine/loop_tags.h"
#include "engine/track_info.h"

namespace tarnuvo {

class FlacSource : public AudioSource {
public:
    FlacSource() = default;
    ~FlacSource() override { release(); }
    FlacSource(const FlacSource&) = delete;
    FlacSource& operator=(const FlacSource&) = delete;

    // Opens the file; false with nothing held. Title and artist from the
    // Vorbis comments always; the loop from them, else from a `smpl` chunk
    // kept from the WAV the file was made from, only unless the track's info
    // is known.
    bool open(const char* path, TrackInfo& track);
    void release() override;
    bool textsFound() const { return textsFound_; }

    const SourceFormat& format() const override { return format_; }
    uint32_t frames() const override { return frames_; }
    bool seek(uint32_t frame) override;
    uint32_t read(void* dst, uint32_t n) override;

private:
    static FLAC__StreamDecoderReadStatus onRead(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                                size_t* bytes, void* self);
    static FLAC__StreamDecoderSeekStatus onSeek(const FLAC__StreamDecoder*, FLAC__uint64 offset,
                                                void* self);
    static FLAC__StreamDecoderTellStatus onTell(const FLAC__StreamDecoder*, FLAC__uint64* offset,
                                                void* self);
    static FLAC__StreamDecoderLengthStatus onLength(const FLAC__StreamDecoder*,
                                                    FLAC__uint64* length, void* self);
    static FLAC__bool onEof(const FLAC__StreamDecoder*, void* self);
    static FLAC__StreamDecoderWriteStatus onWrite(const FLAC__StreamDecoder*, const FLAC__Frame*,
                                                  const FLAC__int32* const buffer[], void* self);
    static void onMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata*, void* self);
    static void onError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}
    void takeBlock(const FLAC__Frame* frame, const FLAC__int32* const buffer[]);
    // Decodes frames until some are pending; false at the end of what decodes.
    bool refill();
    // Where libFLAC cannot seek (a damaged frame where it lands, the first
    // one included): decodes from the first frame on up to `frame`, so what
    // decodes still plays.
    bool decodeUpTo(uint32_t frame);

    FILE* file_ = nullptr;
    bool fileEnded_ = false;
    FLAC__StreamDecoder* decoder_ = nullptr;
    bool atEnd_ = false;
    bool textsFound_ = false;
    SourceFormat format_;
    uint32_t bits_ = 0;
    uint64_t total_ = 0;
    uint32_t frames_ = 0;
    // Decoded frames not yet read, interleaved in the intermediate type.
    std::vector<int16_t> pending16_;
    std::vector<float> pendingFloat_;
    uint32_t pendingFrames_ = 0;
    uint32_t pendingAt_ = 0;
    uint64_t blockFirst_ = 0;  // the stream frame of the pending block's first
    uint64_t audioStart_ = 0;  // file offset of the first frame
    // Metadata gathered while the decoder reads it.
    std::vector<std::string> comments_;
    FrameLoop smpl_;
};

}  // namespace tarnuvo
