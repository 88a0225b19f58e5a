// The samples of an Opus file after a loop wrap, as raw 32-bit floats on
// standard output: read to the loop end, op_pcm_seek to the loop start,
// op_read_float to the end of the stream.
// Usage: opus_pass_oracle <file.opus> <loop end> <loop start>
#include <cstdio>
#include <cstdlib>

#include "tests/engine/library_decodes.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: opus_pass_oracle <file.opus> <loop end> <loop start>\n");
        return 2;
    }
    const std::vector<uint8_t> pcm = testing_support::decodeOpusFloat(
        argv[1], std::strtoll(argv[2], nullptr, 10), std::strtoll(argv[3], nullptr, 10));
    if (pcm.empty()) return 1;
    return std::fwrite(pcm.data(), 1, pcm.size(), stdout) == pcm.size() ? 0 : 1;
}
