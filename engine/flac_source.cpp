#include "engine/flac_source.h"

#include <cstring>

#include "engine/riff_loop.h"
#include "engine/units.h"

namespace tarnuvo {
namespace {

// Decoder calls that deliver no audio in a row before a damaged stream
// counts as ended.
constexpr int kMaxIdleCalls = 64;

uint32_t le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The first `smpl` chunk's loop among the RIFF bytes of one APPLICATION
// block: the file's RIFF header, or one or more whole chunks.
FrameLoop smplInRiffBytes(const uint8_t* data, uint32_t size) {
    uint32_t at = size >= 12 && std::memcmp(data, "RIFF", 4) == 0 ? 12 : 0;
    while (size - at >= 8) {
        const uint32_t payload = le32(data + at + 4);
        const uint32_t room = size - at - 8;
        if (std::memcmp(data + at, "smpl", 4) == 0)
            return smplLoop(data + at + 8, payload < room ? payload : room);
        if (payload >= room) break;
        at += 8 + payload + (payload & 1);
        if (at > size) break;
    }
    return FrameLoop{};
}

int64_t tellFile(FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}
bool seekFile(FILE* f, int64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(f, offset, whence) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), whence) == 0;
#endif
}

}  // namespace

// The file callbacks. The end of the file is kept here: the Windows C
// library's end-of-file flag outlived a seek, and the decoder then refused
// every seek once it had read to the end.
FLAC__StreamDecoderReadStatus FlacSource::onRead(const FLAC__StreamDecoder*, FLAC__byte buffer[],
                                                 size_t* bytes, void* self) {
    auto* s = static_cast<FlacSource*>(self);
    const size_t want = *bytes;
    *bytes = want ? std::fread(buffer, 1, want, s->file_) : 0;
    if (*bytes < want) s->fileEnded_ = true;
    if (*bytes > 0) return FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
    return want == 0 || std::ferror(s->file_) ? FLAC__STREAM_DECODER_READ_STATUS_ABORT
                                              : FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM;
}

FLAC__StreamDecoderSeekStatus FlacSource::onSeek(const FLAC__StreamDecoder*, FLAC__uint64 offset,
                                                 void* self) {
    auto* s = static_cast<FlacSource*>(self);
    if (offset > INT64_MAX || !seekFile(s->file_, static_cast<int64_t>(offset), SEEK_SET))
        return FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
    s->fileEnded_ = false;
    return FLAC__STREAM_DECODER_SEEK_STATUS_OK;
}

FLAC__StreamDecoderTellStatus FlacSource::onTell(const FLAC__StreamDecoder*, FLAC__uint64* offset,
                                                 void* self) {
    const int64_t at = tellFile(static_cast<FlacSource*>(self)->file_);
    if (at < 0) return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
    *offset = static_cast<FLAC__uint64>(at);
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

FLAC__StreamDecoderLengthStatus FlacSource::onLength(const FLAC__StreamDecoder*,
                                                     FLAC__uint64* length, void* self) {
    FILE* f = static_cast<FlacSource*>(self)->file_;
    const int64_t at = tellFile(f);
    if (at < 0 || !seekFile(f, 0, SEEK_END)) return FLAC__STREAM_DECODER_LENGTH_STATUS_ERROR;
    const int64_t end = tellFile(f);
    if (!seekFile(f, at, SEEK_SET) || end < 0) return FLAC__STREAM_DECODER_LENGTH_STATUS_ERROR;
    *length = static_cast<FLAC__uint64>(end);
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

FLAC__bool FlacSource::onEof(const FLAC__StreamDecoder*, void* self) {
    return static_cast<FlacSource*>(self)->fileEnded_;
}

FLAC__StreamDecoderWriteStatus FlacSource::onWrite(const FLAC__StreamDecoder*,
                                                   const FLAC__Frame* frame,
                                                   const FLAC__int32* const buffer[], void* self) {
    static_cast<FlacSource*>(self)->takeBlock(frame, buffer);
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void FlacSource::onMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* m, void* self) {
    auto* s = static_cast<FlacSource*>(self);
    if (m->type == FLAC__METADATA_TYPE_STREAMINFO) {
        const FLAC__StreamMetadata_StreamInfo& info = m->data.stream_info;
        s->format_.rate = info.sample_rate;
        s->format_.channels = info.channels;
        s->bits_ = info.bits_per_sample;
        s->total_ = info.total_samples;
    } else if (m->type == FLAC__METADATA_TYPE_VORBIS_COMMENT) {
        const FLAC__StreamMetadata_VorbisComment& vc = m->data.vorbis_comment;
        for (uint32_t i = 0; i < vc.num_comments; ++i) {
            const FLAC__StreamMetadata_VorbisComment_Entry& e = vc.comments[i];
            if (e.entry) s->comments_.emplace_back(reinterpret_cast<char*>(e.entry), e.length);
        }
    } else if (m->type == FLAC__METADATA_TYPE_APPLICATION && !s->smpl_.found && m->length > 4) {
        // The length counts the 4-byte id before the data.
        s->smpl_ = smplInRiffBytes(m->data.application.data, m->length - 4);
    }
}

void FlacSource::takeBlock(const FLAC__Frame* frame, const FLAC__int32* const buffer[]) {
    const uint32_t n = frame->header.blocksize;
    const uint32_t channels = format_.channels;
    // A frame that disagrees with the stream's header is skipped.
    if (frame->header.channels != channels || frame->header.bits_per_sample != bits_) {
        pendingFrames_ = pendingAt_ = 0;
        return;
    }
    pendingAt_ = 0;
    pendingFrames_ = n;
    blockFirst_ = frame->header.number_type == FLAC__FRAME_NUMBER_TYPE_SAMPLE_NUMBER
                      ? frame->header.number.sample_number
                      : uint64_t{frame->header.number.frame_number} * n;
    if (format_.type == SampleType::FlacInt) {
        pending16_.resize(static_cast<size_t>(n) * channels);
        const uint32_t shift = 16 - bits_;
        for (uint32_t c = 0; c < channels; ++c) {
            const FLAC__int32* in = buffer[c];
            int16_t* out = pending16_.data() + c;
            for (uint32_t i = 0; i < n; ++i, out += channels) {
                *out = static_cast<int16_t>(static_cast<uint32_t>(in[i]) << shift);
            }
        }
    } else {
        pendingFloat_.resize(static_cast<size_t>(n) * channels);
        const float scale = 1.0f / static_cast<float>(1u << (bits_ - 1));
        for (uint32_t c = 0; c < channels; ++c) {
            const FLAC__int32* in = buffer[c];
            float* out = pendingFloat_.data() + c;
            for (uint32_t i = 0; i < n; ++i, out += channels) {
                *out = static_cast<float>(in[i]) * scale;
            }
        }
    }
}

bool FlacSource::open(const char* path, TrackInfo& track) {
    release();
    file_ = std::fopen(path, "rb");
    if (!file_) return false;
    decoder_ = FLAC__stream_decoder_new();
    if (!decoder_) {
        release();
        return false;
    }
    FLAC__stream_decoder_set_metadata_respond(decoder_, FLAC__METADATA_TYPE_VORBIS_COMMENT);
    const FLAC__byte riff[4] = {'r', 'i', 'f', 'f'};
    FLAC__stream_decoder_set_metadata_respond_application(decoder_, riff);
    format_ = SourceFormat{};
    comments_.clear();
    smpl_ = FrameLoop{};
    fileEnded_ = false;
    if (FLAC__stream_decoder_init_stream(decoder_, onRead, onSeek, onTell, onLength, onEof, onWrite,
                                         onMetadata, onError,
                                         this) != FLAC__STREAM_DECODER_INIT_STATUS_OK ||
        !FLAC__stream_decoder_process_until_end_of_metadata(decoder_) || format_.channels < 1 ||
        format_.channels > kMaxSourceChannels || bits_ < 8 || bits_ > 24 ||
        format_.rate < kMinRate || format_.rate > kMaxRate || total_ == 0 ||
        !FLAC__stream_decoder_get_decode_position(decoder_, &audioStart_)) {
        release();
        return false;
    }
    format_.type = bits_ <= 16 ? SampleType::FlacInt : SampleType::FlacFloat;
    format_.order = ChannelOrder::WaveMask;  // FLAC's channel order is WAV's default
    frames_ = total_ > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(total_);
    atEnd_ = false;

    LoopTagReader tags(format_.rate);
    for (const std::string& c : comments_) tags.addComment(c.data(), c.size());
    comments_.clear();
    const FrameLoop fromComments = tags.loop();
    applyFileLoop(fromComments.found ? fromComments : smpl_, track);
    applyUtf8Texts(tags.titleUtf8(), tags.artistUtf8(), track);
    textsFound_ = tags.titleUtf8()[0] != '\0' || tags.artistUtf8()[0] != '\0';
    return true;
}

void FlacSource::release() {
    if (decoder_) {
        FLAC__stream_decoder_delete(decoder_);
        decoder_ = nullptr;
    }
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    frames_ = 0;
    pendingFrames_ = pendingAt_ = 0;
}

bool FlacSource::refill() {
    pendingFrames_ = pendingAt_ = 0;
    for (int idle = 0; idle < kMaxIdleCalls && !atEnd_; ++idle) {
        if (!FLAC__stream_decoder_process_single(decoder_) ||
            FLAC__stream_decoder_get_state(decoder_) >= FLAC__STREAM_DECODER_END_OF_STREAM)
            atEnd_ = true;
        if (pendingFrames_ > 0) return true;
    }
    atEnd_ = true;
    return false;
}

bool FlacSource::seek(uint32_t frame) {
    pendingFrames_ = pendingAt_ = 0;
    if (!decoder_) return false;
    // The decoder hands the frame holding the target over from the target on.
    atEnd_ = frame >= total_;
    if (!atEnd_ && !FLAC__stream_decoder_seek_absolute(decoder_, frame))
        atEnd_ = !decodeUpTo(frame);
    if (atEnd_) pendingFrames_ = 0;
    return !atEnd_;
}

bool FlacSource::decodeUpTo(uint32_t frame) {
    // A flush takes the decoder out of its seek error.
    if (!FLAC__stream_decoder_flush(decoder_) ||
        !seekFile(file_, static_cast<int64_t>(audioStart_), SEEK_SET))
        return false;
    fileEnded_ = false;
    atEnd_ = false;
    while (refill()) {
        if (blockFirst_ + pendingFrames_ > frame) {
            pendingAt_ = frame > blockFirst_ ? static_cast<uint32_t>(frame - blockFirst_) : 0;
            return true;
        }
    }
    return false;
}

uint32_t FlacSource::read(void* dst, uint32_t n) {
    if (!decoder_) return 0;
    const uint32_t channels = format_.channels;
    uint32_t have = 0;
    while (have < n) {
        if (pendingAt_ >= pendingFrames_ && !refill()) break;
        uint32_t take = pendingFrames_ - pendingAt_;
        if (take > n - have) take = n - have;
        const size_t from = static_cast<size_t>(pendingAt_) * channels;
        const size_t to = static_cast<size_t>(have) * channels;
        const size_t samples = static_cast<size_t>(take) * channels;
        if (format_.type == SampleType::FlacInt) {
            std::memcpy(static_cast<int16_t*>(dst) + to, pending16_.data() + from, samples * 2);
        } else {
            std::memcpy(static_cast<float*>(dst) + to, pendingFloat_.data() + from, samples * 4);
        }
        pendingAt_ += take;
        have += take;
    }
    return have;
}

}  // namespace tarnuvo
