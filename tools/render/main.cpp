// tarnuvo-render: writes what the player would play to a WAV file.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/render/renderer.h"

namespace {

using namespace tarnuvo;

int usage() {
    std::fprintf(stderr,
                 "usage: tarnuvo-render [--mode single|repeat-one|repeat-all|random] [--loops N]\n"
                 "                      [--ignore-loop] [--volume LEVEL] [--seek BYTES]\n"
                 "                      [--fade-ms MS] [--fade-delay-ms MS]\n"
                 "                      [--max-seconds S] INPUT OUTPUT.wav\n"
                 "       tarnuvo-render --info INPUT\n");
    return 2;
}

bool parseNumber(const char* text, long long lo, long long hi, long long& value) {
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= lo && value <= hi;
}

class FileWriter : public ByteWriter {
public:
    explicit FileWriter(FILE* f) : f_(f) {}
    bool write(const uint8_t* data, size_t n) override { return std::fwrite(data, 1, n, f_) == n; }

private:
    FILE* f_;
};

int info(const char* input) {
    PlayerEnvironment env;
    NativePlayer player;
    player.attach(nullptr, &env);
    if (player.open(input, -1, 0, nullptr) < 0) {
        std::fprintf(
            stderr,
            "tarnuvo-render: %s: not a readable WAV, Ogg Vorbis, MP3, FLAC or Ogg Opus file\n",
            input);
        return 1;
    }
    static const char* const kinds[] = {"none", "pcm", "adpcm", "vorbis", "mp3", "flac", "opus"};
    static const char* const types[] = {"u8",    "s16",    "s24", "s32",  "f32",        "f64",
                                        "adpcm", "vorbis", "mp3", "flac", "flac-float", "opus"};
    std::printf("kind=%s\nlength=%u\nloop=%d\nloopStart=%u\nloopEnd=%u\n", kinds[player.kind()],
                player.length, player.hasLoop, player.loopStart, player.loopEnd);
    std::printf("title=%s\nartist=%s\n", player.title, player.artist);
    const SourceFormat& source = player.sourceFormat();
    std::printf("rate=%u\nchannels=%u\nsource=%s\ndevice=%s\n", source.rate, source.channels,
                types[static_cast<int>(source.type)],
                player.preferredDeviceFormat().isFloat ? "float" : "16-bit");
    std::printf("frames=%u\nloopStartFrames=%u\nloopEndFrames=%u\n", player.frameCount,
                player.loopStart, player.loopEnd);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    RenderOptions options;
    const char* positional[2] = {};
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long long v = 0;
        if (arg == "--info") {
            return hasValue && i + 2 == argc ? info(argv[i + 1]) : usage();
        } else if (arg == "--mode" && hasValue) {
            const std::string m = argv[++i];
            if (m == "single")
                options.playMode = Single;
            else if (m == "repeat-one")
                options.playMode = RepeatOne;
            else if (m == "repeat-all")
                options.playMode = RepeatAll;
            else if (m == "random")
                options.playMode = Random;
            else
                return usage();
        } else if (arg == "--loops" && hasValue && parseNumber(argv[++i], 0, 99, v)) {
            options.loopCount = static_cast<int32_t>(v);
        } else if (arg == "--ignore-loop") {
            options.loopIgnore = 1;
        } else if (arg == "--volume" && hasValue && parseNumber(argv[++i], 0, 65535, v)) {
            options.volume = static_cast<int32_t>(v);
        } else if (arg == "--seek" && hasValue && parseNumber(argv[++i], 0, UINT32_MAX, v)) {
            options.seek = true;
            options.seekBytes = static_cast<uint32_t>(v);
        } else if (arg == "--fade-ms" && hasValue && parseNumber(argv[++i], 0, 1 << 30, v)) {
            options.fadeMs = static_cast<int32_t>(v < kFadeLengthMinMs   ? kFadeLengthMinMs
                                                  : v > kFadeLengthMaxMs ? kFadeLengthMaxMs
                                                                         : v);
        } else if (arg == "--fade-delay-ms" && hasValue && parseNumber(argv[++i], 0, 1 << 30, v)) {
            options.fadeDelayMs = static_cast<int32_t>(v > kFadeDelayMaxMs ? kFadeDelayMaxMs : v);
        } else if (arg == "--max-seconds" && hasValue) {
            char* end = nullptr;
            const double s = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(s >= 0) || s > 24 * 3600) return usage();
            options.maxSeconds = s;
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            return usage();
        } else if (count < 2) {
            positional[count++] = argv[i];
        } else {
            return usage();
        }
    }
    if (count != 2) return usage();
    if (options.playMode == RepeatOne && options.maxSeconds < 0) {
        std::fprintf(stderr, "tarnuvo-render: repeat-one never ends; give --max-seconds\n");
        return 2;
    }
    const char* input = positional[0];
    const char* output = positional[1];

    // Refuse the input before anything is written.
    DeviceFormat device;
    if (!renderDeviceFormat(input, device)) {
        std::fprintf(
            stderr,
            "tarnuvo-render: %s: not a readable WAV, Ogg Vorbis, MP3, FLAC or Ogg Opus file\n",
            input);
        return 1;
    }
    FILE* f = std::fopen(output, "wb");
    if (!f) {
        std::fprintf(stderr, "tarnuvo-render: cannot write %s: %s\n", output, std::strerror(errno));
        return 2;
    }
    std::vector<uint8_t> header = makeWavHeader(device, 0);
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
    FileWriter writer(f);
    const RenderResult result = renderTrack(input, options, writer);
    ok = ok && result.status == 0;
    if (ok) {
        const uint32_t room = UINT32_MAX - static_cast<uint32_t>(header.size());
        const uint32_t bytes = result.bytes > room ? room : static_cast<uint32_t>(result.bytes);
        header = makeWavHeader(device, bytes);
        ok = std::fseek(f, 0, SEEK_SET) == 0 &&
             std::fwrite(header.data(), 1, header.size(), f) == header.size();
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::remove(output);
        std::fprintf(stderr, "tarnuvo-render: rendering %s to %s failed\n", input, output);
        return result.status == 1 ? 1 : 2;
    }
    return 0;
}
