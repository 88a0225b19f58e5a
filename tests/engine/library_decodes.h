// Decodes of MP3 and Opus files by this build's own libraries, through their
// plain interfaces and nothing of the engine: the oracles where no other
// program's decode serves, under Wine (the cross-built libraries may round
// apart from the system's programs) and for Opus after a seek, which does not
// promise a straight decode's samples.
#pragma once

#include <mpg123.h>
#include <opusfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The whole file as 32-bit floats, its gapless trim applied. The ID3v2 tag
// is skipped unparsed: the cross-built library's own ID3v2 parser never
// returns on lame's tags under Wine.
inline std::vector<uint8_t> decodeMp3Float(const std::string& path) {
    std::vector<uint8_t> pcm;
    mpg123_handle* h = mpg123_new(nullptr, nullptr);
    if (!h) return pcm;
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_FORCE_FLOAT | MPG123_SKIP_ID3V2, 0.0);
    if (mpg123_open(h, path.c_str()) == MPG123_OK) {
        unsigned char buf[16384];
        for (;;) {
            size_t got = 0;
            const int rc = mpg123_read(h, buf, sizeof buf, &got);
            pcm.insert(pcm.end(), buf, buf + got);
            if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) break;  // done, or damage
        }
        mpg123_close(h);
    }
    mpg123_delete(h);
    return pcm;
}

// An Opus file as op_read_float gives it: straight through when `wrapAt` is
// negative; else read to frame `wrapAt`, seek to `seekTo` with op_pcm_seek,
// and only what follows the seek, to the end.
inline std::vector<uint8_t> decodeOpusFloat(const std::string& path, int64_t wrapAt = -1,
                                            int64_t seekTo = 0) {
    std::vector<uint8_t> pcm;
    int error = 0;
    OggOpusFile* of = op_open_file(path.c_str(), &error);
    if (!of) return pcm;
    const int channels = op_channel_count(of, -1);
    std::vector<float> buf(5760 * static_cast<size_t>(channels));
    int64_t at = 0;
    bool seeked = wrapAt < 0;
    for (;;) {
        int want = static_cast<int>(buf.size());
        if (!seeked && wrapAt - at < 5760) want = static_cast<int>(wrapAt - at) * channels;
        if (!seeked && want == 0) {
            if (op_pcm_seek(of, seekTo) != 0) break;
            seeked = true;
            continue;
        }
        const int frames = op_read_float(of, buf.data(), want, nullptr);
        if (frames <= 0) break;
        at += frames;
        if (!seeked) continue;
        const auto* bytes = reinterpret_cast<const uint8_t*>(buf.data());
        pcm.insert(pcm.end(), bytes, bytes + static_cast<size_t>(frames) * channels * 4);
    }
    op_free(of);
    return pcm;
}

}  // namespace testing_support
