// libFuzzer target: the loop-tag reader, ID3v2 reading and the RIFF loop
// records. The first input byte picks the parser (low two bits) and the rate
// times are read at; the rest is the parser's input: comments one a line,
// a tag from its header on, or a `smpl` or `cue ` payload.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/id3v2.h"
#include "engine/riff_loop.h"

namespace {

// 0 ignores times; the largest rate puts every time near the 32-bit limit.
constexpr uint32_t kRates[8] = {44100, 48000, 0, 1, 22050, 96000, 192000, 0xFFFFFFFF};

void readComments(const uint8_t* in, size_t size, uint32_t rate) {
    tarnuvo::LoopTagReader tags(rate);
    const char* p = reinterpret_cast<const char*>(in);
    const char* end = p + size;
    while (p < end) {
        const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
        const char* stop = nl ? static_cast<const char*>(nl) : end;
        tags.addComment(p, static_cast<size_t>(stop - p));
        p = stop + 1;
    }
    tarnuvo::TrackInfo track;
    tarnuvo::applyFileLoop(tags.loop(), track);
    tarnuvo::applyUtf8Texts(tags.titleUtf8(), tags.artistUtf8(), track);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t control = data[0];
    const uint8_t* in = data + 1;
    const size_t n = size - 1;
    const uint32_t n32 = n > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(n);
    const uint32_t rate = kRates[(control >> 2) & 7];
    switch (control & 3) {
        case 0:
            readComments(in, n, rate);
            break;
        case 1: {
            tarnuvo::Id3v2Texts texts;
            tarnuvo::LoopTagReader tags(rate);
            const uint64_t whole = tarnuvo::id3v2TagBytes(in, n);
            // As a decoder hands it: the tag's own bytes when the file holds
            // them all, else what there is.
            tarnuvo::readId3v2(in, whole != 0 && whole < n ? static_cast<size_t>(whole) : n, texts,
                               tags);
            tarnuvo::TrackInfo track;
            tarnuvo::applyFileLoop(tags.loop(), track);
            break;
        }
        case 2:
            tarnuvo::smplLoop(in, n32);
            break;
        default:
            tarnuvo::cueLoop(in, n32);
            break;
    }
    return 0;
}
