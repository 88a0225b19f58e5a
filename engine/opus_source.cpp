#include "engine/opus_source.h"

#include <opusfile.h>

#include <cstdio>

#include "engine/loop_tags.h"

namespace tarnuvo {
namespace {

// Holes skipped in one read before a damaged stream counts as ended.
constexpr int kMaxHoles = 3;

int readCallback(void* stream, unsigned char* ptr, int bytes) {
    if (bytes <= 0) return 0;
    return static_cast<int>(
        std::fread(ptr, 1, static_cast<size_t>(bytes), static_cast<FILE*>(stream)));
}
int seekCallback(void* stream, opus_int64 offset, int whence) {
#ifdef _WIN32
    return _fseeki64(static_cast<FILE*>(stream), offset, whence);
#else
    return fseeko(static_cast<FILE*>(stream), static_cast<off_t>(offset), whence);
#endif
}
opus_int64 tellCallback(void* stream) {
#ifdef _WIN32
    return _ftelli64(static_cast<FILE*>(stream));
#else
    return ftello(static_cast<FILE*>(stream));
#endif
}
int closeCallback(void* stream) {
    return std::fclose(static_cast<FILE*>(stream));
}

}  // namespace

bool OpusSource::open(const char* path, TrackInfo& track) {
    release();
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    const OpusFileCallbacks callbacks{readCallback, seekCallback, tellCallback, closeCallback};
    file_ = op_open_callbacks(file, &callbacks, nullptr, 0, nullptr);
    if (!file_) {
        std::fclose(file);
        return false;
    }
    // From here op_free closes the file.
    const OpusHead* head = op_head(file_, 0);
    const ogg_int64_t total = op_pcm_total(file_, -1);
    if (!head || head->channel_count < 1 ||
        head->channel_count > static_cast<int>(kMaxSourceChannels) || total < 0) {
        release();
        return false;
    }
    format_ = SourceFormat{};
    format_.rate = kRate;
    format_.channels = static_cast<uint32_t>(head->channel_count);
    format_.type = SampleType::Opus;
    format_.order = ChannelOrder::Vorbis;
    frames_ = total > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(total);
    atEnd_ = false;

    LoopTagReader tags(kRate);
    if (const OpusTags* t = op_tags(file_, 0)) {
        for (int i = 0; i < t->comments; ++i) {
            if (t->user_comments[i] && t->comment_lengths[i] > 0)
                tags.addComment(t->user_comments[i], static_cast<size_t>(t->comment_lengths[i]));
        }
    }
    applyFileLoop(tags.loop(), track);
    applyUtf8Texts(tags.titleUtf8(), tags.artistUtf8(), track);
    textsFound_ = tags.titleUtf8()[0] != '\0' || tags.artistUtf8()[0] != '\0';
    return true;
}

void OpusSource::release() {
    if (file_) {
        op_free(file_);
        file_ = nullptr;
    }
    frames_ = 0;
}

bool OpusSource::seek(uint32_t frame) {
    atEnd_ = !file_ || op_pcm_seek(file_, frame) != 0;
    return !atEnd_;
}

uint32_t OpusSource::read(void* dst, uint32_t n) {
    if (n == 0 || !file_) return 0;
    auto* out = static_cast<float*>(dst);
    const uint32_t channels = format_.channels;
    uint32_t have = 0;
    int holes = 0;
    while (have < n && !atEnd_) {
        const uint64_t room = static_cast<uint64_t>(n - have) * channels;
        const int ask = room > 0x10000 ? 0x10000 : static_cast<int>(room);
        int link = 0;
        const int got =
            op_read_float(file_, out + static_cast<size_t>(have) * channels, ask, &link);
        const OpusHead* head = got > 0 ? op_head(file_, link) : nullptr;
        if (got > 0 && (!head || head->channel_count != static_cast<int>(channels))) {
            // One read never spans links; one with another channel count ends the stream.
            atEnd_ = true;
        } else if (got > 0) {
            have += static_cast<uint32_t>(got);
        } else if (got == OP_HOLE && ++holes <= kMaxHoles) {
            continue;
        } else {
            atEnd_ = true;
        }
    }
    return have;
}

}  // namespace tarnuvo
