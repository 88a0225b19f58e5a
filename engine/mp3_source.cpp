#include "engine/mp3_source.h"

#include <mpg123.h>

#include <vector>

#include "engine/id3v2.h"
#include "engine/mp3_probe.h"
#include "engine/text.h"
#include "engine/units.h"

namespace tarnuvo {
namespace {

// A tag bigger than this is skipped unread: its texts are lost, its audio not.
constexpr uint64_t kMaxTagBytes = 1u << 20;
// Bytes of junk between frames the decoder skips before the stream counts
// as ended.
constexpr long kResyncLimit = 1024;
// Frames the decoder decodes ahead of a seek's target: the library's default.
constexpr long kAheadFrames = 4;
// Reads that deliver nothing in a row before a damaged stream counts as ended.
constexpr int kMaxEmptyReads = 16;

ssize_t readCallback(void* handle, void* buffer, size_t bytes) {
    return static_cast<ssize_t>(std::fread(buffer, 1, bytes, static_cast<FILE*>(handle)));
}
off_t seekCallback(void* handle, off_t offset, int whence) {
    FILE* f = static_cast<FILE*>(handle);
#ifdef _WIN32
    if (_fseeki64(f, offset, whence) != 0) return -1;
    return static_cast<off_t>(_ftelli64(f));
#else
    if (fseeko(f, offset, whence) != 0) return -1;
    return ftello(f);
#endif
}

bool readAt(FILE* f, uint64_t offset, std::vector<uint8_t>& out, size_t bytes) {
    out.resize(bytes);
#ifdef _WIN32
    if (_fseeki64(f, static_cast<int64_t>(offset), SEEK_SET) != 0) return false;
#else
    if (fseeko(f, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
    out.resize(std::fread(out.data(), 1, bytes, f));
    return true;
}

// The MPEG audio start, or -1: the bytes of the tags before it (those small
// enough) land in `tags`.
int64_t probe(FILE* f, std::vector<std::vector<uint8_t>>& tags) {
    std::vector<uint8_t> bytes;
    uint64_t at = 0;
    for (int i = 0; i < kMaxId3v2Tags; ++i) {
        if (!readAt(f, at, bytes, kId3v2HeaderBytes)) return -1;
        const uint64_t tagBytes = id3v2TagBytes(bytes.data(), bytes.size());
        if (tagBytes == 0) break;
        if (tagBytes <= kMaxTagBytes) {
            tags.emplace_back();
            readAt(f, at, tags.back(), static_cast<size_t>(tagBytes));
        }
        at += tagBytes;
    }
    if (!readAt(f, at, bytes, kMpegProbeBytes)) return -1;
    return mpegFramesStart(bytes.data(), bytes.size()) ? static_cast<int64_t>(at) : -1;
}

void initLibrary() {
    static const int once = mpg123_init();
    (void)once;
}

}  // namespace

bool Mp3Source::open(const char* path, TrackInfo& track, bool exactLength) {
    release();
    file_ = std::fopen(path, "rb");
    if (!file_) return false;
    std::vector<std::vector<uint8_t>> tags;
    if (probe(file_, tags) < 0 || !openDecoder()) {
        release();
        return false;
    }
    if (exactLength && mpg123_scan(handle_) != MPG123_OK) {
        release();
        return false;
    }
    const off_t frames = mpg123_length(handle_);
    mpg123_frameinfo info{};
    if (frames < 0 || mpg123_info(handle_, &info) != MPG123_OK) {
        release();
        return false;
    }
    frames_ =
        static_cast<uint64_t>(frames) > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(frames);
    replaySeeks_ = info.layer == 3 && info.version != MPG123_1_0;
    off_t* offsets = nullptr;
    off_t step = 0;
    size_t fill = 0;
    if (mpg123_index(handle_, &offsets, &step, &fill) == MPG123_OK && offsets) {
        index_.assign(offsets, offsets + fill);
        indexStep_ = static_cast<long>(step);
    }
    // The scan leaves the decoder in another state than a fresh open, and a
    // straight decode must match every later one.
    if (!openStream()) {
        release();
        return false;
    }

    Id3v2Texts texts;
    LoopTagReader loopTags(format_.rate);
    for (const std::vector<uint8_t>& tag : tags) readId3v2(tag.data(), tag.size(), texts, loopTags);
    textsFound_ = texts.title[0] != '\0' || texts.artist[0] != '\0';
    if (texts.title[0]) copyText(track.title, kTextSize, texts.title);
    if (texts.artist[0]) copyText(track.artist, kTextSize, texts.artist);
    applyFileLoop(loopTags.loop(), track);
    return true;
}

bool Mp3Source::openDecoder() {
    initLibrary();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_) return false;
    // Gapless trims the encoder's delay and padding; quiet keeps the
    // library off stderr; its own ID3v2 parse is not needed.
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_SKIP_ID3V2, 0);
    mpg123_param(handle_, MPG123_RESYNC_LIMIT, kResyncLimit, 0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) {
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    }
    if (mpg123_replace_reader_handle(handle_, readCallback, seekCallback, nullptr) != MPG123_OK ||
        !openStream())
        return false;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_FLOAT_32 || channels < 1 || channels > 2 ||
        rate < static_cast<long>(kMinRate) || rate > static_cast<long>(kMaxRate))
        return false;
    format_ = SourceFormat{};
    format_.rate = static_cast<uint32_t>(rate);
    format_.channels = static_cast<uint32_t>(channels);
    format_.type = SampleType::Mp3;
    atEnd_ = false;
    return true;
}

bool Mp3Source::openStream() {
    mpg123_close(handle_);
    atEnd_ = false;
    if (std::fseek(file_, 0, SEEK_SET) != 0 || mpg123_open_handle(handle_, file_) != MPG123_OK)
        return false;
    if (!index_.empty()) {
        std::vector<off_t> offsets(index_.begin(), index_.end());
        mpg123_set_index(handle_, offsets.data(), static_cast<off_t>(indexStep_), offsets.size());
    }
    return true;
}

void Mp3Source::release() {
    index_.clear();
    indexStep_ = 0;
    replaySeeks_ = false;
    if (handle_) {
        mpg123_delete(handle_);  // closes the stream; the file is ours to close
        handle_ = nullptr;
    }
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    frames_ = 0;
}

bool Mp3Source::seek(uint32_t frame) {
    atEnd_ = !handle_ || !seekExact(frame);
    return !atEnd_;
}

// A seek keeps libmpg123's synthesis filter in the phase (one of 16) where
// the last decode left it, and the frames after it then come out with other
// rounding than in a straight decode. So every seek starts from a fresh
// open, and an MPEG-1 stream is decoded from 4 to 7 frames ahead of the
// target, from a frame where a straight decode has the same phase (every
// fourth). MPEG-2 and 2.5 layer III streams came out a few units in the
// last place apart for the whole pass after a library seek, whatever the
// alignment (periods 4, 8, 16) or the frames decoded ahead (up to 64), and
// which alignment matched changed from target to target; so they decode
// from the start up to the target. Larger reads do not make that cheaper:
// the decoding is the cost.
bool Mp3Source::seekExact(uint32_t frame) {
    const off_t target = static_cast<off_t>(frame);
    if (!replaySeeks_) {
        mpg123_param(handle_, MPG123_PREFRAMES, kAheadFrames, 0);
        if (!openStream() || mpg123_seek(handle_, target, SEEK_SET) < 0) return false;
        const off_t first = mpg123_tellframe(handle_);
        const long extra = first > kAheadFrames ? static_cast<long>((first - kAheadFrames) % 4) : 0;
        if (extra == 0) return true;
        mpg123_param(handle_, MPG123_PREFRAMES, kAheadFrames + extra, 0);
        return openStream() && mpg123_seek(handle_, target, SEEK_SET) >= 0;
    }
    if (!openStream()) return false;
    float scratch[2048];
    const uint32_t perRead = 2048 / format_.channels;
    for (uint32_t left = frame; left > 0;) {
        const uint32_t got = read(scratch, left < perRead ? left : perRead);
        if (got == 0) return false;
        left -= got;
    }
    return true;
}

uint32_t Mp3Source::read(void* dst, uint32_t n) {
    if (n == 0 || !handle_) return 0;
    auto* out = static_cast<unsigned char*>(dst);
    const size_t frameBytes = size_t{format_.channels} * sizeof(float);
    const size_t want = static_cast<size_t>(n) * frameBytes;
    size_t have = 0;
    int empty = 0;
    while (have < want && !atEnd_) {
        size_t done = 0;
        const int result = mpg123_read(handle_, out + have, want - have, &done);
        have += done;
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            mpg123_getformat(handle_, &rate, &channels, &encoding);
            // A stream that changes its rate or channel count ends here.
            if (rate != static_cast<long>(format_.rate) ||
                channels != static_cast<int>(format_.channels))
                atEnd_ = true;
        } else if (result != MPG123_OK || (done == 0 && ++empty >= kMaxEmptyReads)) {
            atEnd_ = true;
        }
    }
    return static_cast<uint32_t>(have / frameBytes);
}

}  // namespace tarnuvo
