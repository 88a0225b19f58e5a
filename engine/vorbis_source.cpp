#include "engine/vorbis_source.h"

#include <cstring>

#include "engine/loop_tags.h"
#include "engine/units.h"

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

}  // namespace

void parseVorbisComments(char** comments, int count, TrackInfo& track, uint32_t rate) {
    LoopTagReader tags(rate);
    for (int i = 0; i < count; ++i) {
        if (comments[i]) tags.addComment(comments[i], std::strlen(comments[i]));
    }
    applyUtf8Texts(tags.titleUtf8(), tags.artistUtf8(), track);
    applyFileLoop(tags.loop(), track);
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
    setupFailed_ = false;
    const vorbis_info* vi = ov_info(&vf_, -1);
    const ogg_int64_t frames = ov_pcm_total(&vf_, -1);
    if (!vi || vi->channels < 1 || vi->channels > static_cast<int>(kMaxSourceChannels) ||
        vi->rate < static_cast<long>(kMinRate) || vi->rate > static_cast<long>(kMaxRate) ||
        frames < 0) {
        release();
        return -1;
    }
    format_ = SourceFormat{};
    format_.rate = static_cast<uint32_t>(vi->rate);
    format_.channels = static_cast<uint32_t>(vi->channels);
    format_.type = SampleType::Vorbis;
    format_.order = ChannelOrder::Vorbis;
    frames_ = static_cast<uint32_t>(frames);  // the low 32 bits of the frame count
    if (const vorbis_comment* vc = ov_comment(&vf_, 0); vc && vc->comments > 0) {
        parseVorbisComments(vc->user_comments, vc->comments, track, format_.rate);
    }
    return static_cast<int64_t>(frames_) * format_.channels * 2 + kWavHeaderBytes;
}

void VorbisSource::release() {
    if (open_) {
        ov_clear(&vf_);  // closes the file through the close callback
        open_ = false;
    }
    file_ = nullptr;
    frames_ = 0;
}

namespace {
bool setupFailure(long result) {
    return result == OV_EBADLINK || result == OV_EFAULT;
}
}  // namespace

bool VorbisSource::seek(uint32_t frame) {
    if (!open_ || setupFailed_) {
        atEnd_ = true;
        return false;
    }
    const int result = ov_pcm_seek(&vf_, frame);
    setupFailed_ = setupFailure(result);
    atEnd_ = result != 0;
    return !atEnd_;
}

uint32_t VorbisSource::read(void* dst, uint32_t n) {
    if (n == 0 || !open_ || setupFailed_) return 0;
    auto* out = static_cast<char*>(dst);
    const uint32_t frameBytes = format_.channels * 2;
    const uint64_t want = static_cast<uint64_t>(n) * frameBytes;
    uint64_t have = 0;
    // At most three holes per read are skipped before the stream counts as ended.
    int holes = 0;
    while (have < want && !atEnd_) {
        const uint64_t room = want - have;
        const int ask = room > 0x10000 ? 0x10000 : static_cast<int>(room);
        int section = 0;
        const long got = ov_read(&vf_, out + have, ask, 0, 2, 1, &section);
        if (got > 0) {
            have += static_cast<uint64_t>(got);
        } else if (got == OV_HOLE && ++holes <= 3) {
            continue;
        } else {
            setupFailed_ = setupFailure(got);
            atEnd_ = true;
        }
    }
    // ov_read delivers whole frames; a chained stream with another channel
    // count would not, and ends here.
    return static_cast<uint32_t>(have / frameBytes);
}

}  // namespace tarnuvo
