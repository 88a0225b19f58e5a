#include "engine/vorbis_source.h"

#include <cstring>

#include "engine/text.h"

namespace tarnuvo {
namespace {

size_t readCallback(void* ptr, size_t size, size_t count, void* stream) {
    return std::fread(ptr, size, count, static_cast<FILE*>(stream));
}
int seekCallback(void* stream, ogg_int64_t offset, int whence) {
    if (!stream) return -1;
#ifdef _WIN32
    return _fseeki64(static_cast<FILE*>(stream), offset, whence);
#else
    return fseeko(static_cast<FILE*>(stream), offset, whence);
#endif
}
int closeCallback(void* stream) {
    return std::fclose(static_cast<FILE*>(stream));
}
long tellCallback(void* stream) {
    return std::ftell(static_cast<FILE*>(stream));
}

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

void fromUtf8(char* dst, const char* utf8) {
    dst[0] = '\0';
    systemCodec().fromUtf8(utf8, dst, kTextSize);
}

}  // namespace

void parseVorbisComments(char** comments, int count, TrackInfo& track) {
    uint32_t start = 0, end = 0;
    bool lengthGiven = false;
    for (int i = 0; i < count; ++i) {
        const char* c = comments[i];
        if (!c) continue;
        if (const char* rest = matchPrefix(c, "TITLE=")) fromUtf8(track.title, rest);
        if (const char* rest = matchPrefix(c, "ARTIST=")) fromUtf8(track.artist, rest);
        if (const char* rest = matchPrefix(c, "LOOPSTART="))
            start = static_cast<uint32_t>(parseDecimal(rest));
        if (const char* rest = matchPrefix(c, "LOOPLENGTH=")) {
            end = static_cast<uint32_t>(parseDecimal(rest));
            lengthGiven = true;
        }
        if (const char* rest = matchPrefix(c, "LOOPEND="))
            end = static_cast<uint32_t>(parseDecimal(rest));
        if (const char* rest = matchPrefix(c, "LOOP=")) {
            char copy[256];
            size_t n = 0;
            while (n < sizeof(copy) - 1 && rest[n] != '\0') {
                copy[n] = rest[n];
                ++n;
            }
            copy[n] = '\0';
            if (char* e = std::strchr(copy, 'e')) {
                *e = '\0';
                // The value starts at the copy's second character ("s100e200").
                start = static_cast<uint32_t>(parseDecimal(copy[0] ? copy + 1 : copy));
                end = static_cast<uint32_t>(parseDecimal(e + 1));
            }
        }
    }
    if (lengthGiven) end += start;  // wraps like the 32-bit sum it always was
    if (!track.infoKnown) {
        track.hasLoop = start < end ? 1 : 0;
        track.loopStart = start;
        track.loopEnd = end;
    }
}

int64_t VorbisSource::open(const char* path, TrackInfo& track) {
    release();
    file_ = std::fopen(path, "rb");
    if (!file_) return -1;
    const ov_callbacks callbacks{readCallback, seekCallback, closeCallback, tellCallback};
    if (ov_open_callbacks(file_, &vf_, nullptr, 0, callbacks) < 0) {
        std::fclose(file_);
        file_ = nullptr;
        return -1;
    }
    open_ = true;
    atEnd_ = false;
    const vorbis_info* vi = ov_info(&vf_, -1);
    if (!vi || vi->channels != 2 || vi->rate != 44100) {
        release();
        return -1;
    }
    const ogg_int64_t frames = ov_pcm_total(&vf_, -1);
    if (frames < 0) {
        release();
        return -1;
    }
    dataBytes_ = static_cast<uint32_t>(frames) * 4;  // the low 32 bits of the frame count
    std::memset(header_, 0, sizeof(header_));
    std::memcpy(header_, "RIFF", 4);
    put32(header_ + 4, dataBytes_ + 36);
    std::memcpy(header_ + 8, "WAVEfmt ", 8);
    put32(header_ + 16, 16);
    put16(header_ + 20, 1);
    put16(header_ + 22, 2);
    put32(header_ + 24, 44100);
    put32(header_ + 28, 44100 * 2 * 2);
    put16(header_ + 32, 4);
    put16(header_ + 34, 16);
    std::memcpy(header_ + 36, "data", 4);
    put32(header_ + 40, dataBytes_);

    if (const vorbis_comment* vc = ov_comment(&vf_, 0); vc && vc->comments > 0) {
        parseVorbisComments(vc->user_comments, vc->comments, track);
    }
    carryFill_ = 0;
    return static_cast<int64_t>(dataBytes_) + kHeaderBytes;
}

void VorbisSource::release() {
    if (open_) {
        ov_clear(&vf_);  // closes the file through the close callback
        open_ = false;
    }
    file_ = nullptr;
    carryFill_ = 0;
    dataBytes_ = 0;
}

void VorbisSource::seekFrame(uint32_t frame) {
    carryFill_ = 0;
    atEnd_ = ov_pcm_seek(&vf_, frame) != 0;
}

uint32_t VorbisSource::read(uint8_t* dst, uint32_t n) {
    if (n == 0 || !open_) return 0;
    if (n > kCarryBytes - kReadChunk) n = kCarryBytes - kReadChunk;
    // At most three holes in a row are skipped before the stream counts as ended.
    int holes = 0;
    while (carryFill_ < n && !atEnd_) {
        int section = 0;
        const long got = ov_read(&vf_, reinterpret_cast<char*>(carry_ + carryFill_), kReadChunk, 0,
                                 2, 1, &section);
        if (got > 0) {
            carryFill_ += static_cast<uint32_t>(got);
        } else if (got == OV_HOLE && ++holes <= 3) {
            continue;
        } else {
            atEnd_ = true;
        }
    }
    const uint32_t c = carryFill_ < n ? carryFill_ : n;
    std::memcpy(dst, carry_, c);
    carryFill_ -= c;
    std::memmove(carry_, carry_ + c, carryFill_);
    return c;
}

}  // namespace tarnuvo
