// The formats table (anyrate.txt, written with the fixtures): every file is
// rendered by the tarnuvo-render program with N loop passes and must equal,
// bit for bit and in the device's format, a plain decode of the same file by
// sox, oggdec, mpg123, flac, opusdec or the tests' own ADPCM decoder,
// converted sample by sample: 8-bit x to (x - 128) * 256 (FLAC's signed x to
// x * 256), 16-bit as it is, 24-bit to x / 2^23, 32-bit to the nearest float
// of x over 2^31 (padding bits cleared first), float 64 to the nearest float
// 32; more than two channels mixed down to stereo. Opus does not promise a
// straight decode's samples after a seek: each pass after a wrap equals a
// decode seeked to the loop start by a small program of its own.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "engine/downmix.h"
#include "tests/engine/adpcm_reference.h"
#ifdef _WIN32
#include "tests/engine/library_decodes.h"
#endif
#include "tests/engine/test_support.h"

using namespace testing_support;

namespace {

struct Format {
    std::string file, type;
    uint32_t rate = 0, channels = 0, loopStart = 0, loopEnd = 0;
    std::string plain;
    uint32_t validBits = 0, mask = 0;
    bool windowsSample = false;
    uint32_t sourceFrames = 0;  // what the encoder was given; 0 when nothing trims
};

void PrintTo(const Format& f, std::ostream* os) {
    *os << f.file;
}

std::vector<Format> formatsTable() {
    std::vector<Format> table;
    std::ifstream in(fixture("anyrate.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        Format f;
        row >> f.file >> f.type >> f.rate >> f.channels >> f.loopStart >> f.loopEnd >> f.plain >>
            f.validBits >> f.mask >> f.windowsSample >> f.sourceFrames;
#ifdef _WIN32
        if (!f.windowsSample) continue;  // a sample of the table under Wine
#endif
        if (row) table.push_back(f);
    }
    return table;
}

bool floatDevice(const Format& f) {
    return f.type == "s24" || f.type == "s32" || f.type == "f32" || f.type == "f64" ||
           f.type == "flac24" || f.type == "mp3" || f.type == "opus";
}
bool vorbisOrder(const Format& f) {
    return f.type == "vorbis" || f.type == "opus";
}
uint32_t deviceChannels(const Format& f) {
    return f.channels == 1 ? 1 : 2;
}
size_t deviceFrameBytes(const Format& f) {
    return deviceChannels(f) * (floatDevice(f) ? 4u : 2u);
}

template <typename T>
T load(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <typename T>
void store(Bytes& out, T v) {
    uint8_t b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    out.insert(out.end(), b, b + sizeof v);
}

// The file decoded plainly, samples in their own encoding.
Bytes plainDecode(const Format& f) {
#ifdef _WIN32
    // The cross-built Vorbis, MP3 and Opus libraries may round a few samples
    // apart from the system's programs; under Wine the plain decode is their
    // own, read straight through.
    if (f.type == "vorbis") return decodeVorbisSequentially(fixture(f.file));
    if (f.type == "mp3") return decodeMp3Float(fixture(f.file));
    if (f.type == "opus") return decodeOpusFloat(fixture(f.file));
#endif
    if (f.type != "adpcm") return readFile(fixture(f.plain));
    const Bytes wav = readFile(fixture(f.file));
    const Bytes data = riffChunk(wav, "data"), format = riffChunk(wav, "fmt ");
    if (format.size() < 16) return {};
    const size_t align = format[12] | format[13] << 8;
    return referenceAdpcm(data.data(), data.size(), false, static_cast<int>(f.channels), align);
}

size_t plainSampleBytes(const Format& f) {
    if (f.type == "u8" || f.type == "flac8") return 1;
    if (f.type == "s24" || f.type == "flac24") return 3;
    if (f.type == "s32" || f.type == "f32" || f.type == "mp3" || f.type == "opus") return 4;
    if (f.type == "f64") return 8;
    return 2;
}

// One plain sample as the device value before any mixing: the 16-bit value
// for a 16-bit device, the float for a float device.
float deviceValue(const Format& f, const uint8_t* p) {
    if (f.type == "u8") return static_cast<float>((p[0] - 128) * 256);
    if (f.type == "flac8") return static_cast<float>(static_cast<int8_t>(p[0]) * 256);
    if (f.type == "s24" || f.type == "flac24") {
        const int32_t x = static_cast<int32_t>(static_cast<uint32_t>(p[0]) << 8 |
                                               static_cast<uint32_t>(p[1]) << 16 |
                                               static_cast<uint32_t>(p[2]) << 24) >>
                          8;
        return static_cast<float>(x) / 8388608.0f;
    }
    if (f.type == "s32") {
        uint32_t bits = load<uint32_t>(p);
        if (f.validBits != 0) bits &= ~((1u << (32 - f.validBits)) - 1);
        return static_cast<float>(static_cast<int32_t>(bits)) / 2147483648.0f;
    }
    if (f.type == "f32" || f.type == "mp3" || f.type == "opus") return load<float>(p);
    if (f.type == "f64") return static_cast<float>(load<double>(p));
    return static_cast<float>(load<int16_t>(p));
}

int16_t toDevice16(float mixed) {
    if (std::isnan(mixed)) return 0;
    if (mixed >= 32767.0f) return 32767;
    if (mixed <= -32768.0f) return -32768;
    return static_cast<int16_t>(mixed);  // toward zero
}

// A plain decode as the device receives it at full volume, before looping.
Bytes deviceStream(const Format& f, const Bytes& plain) {
    const size_t sampleBytes = plainSampleBytes(f);
    const size_t frameBytes = sampleBytes * f.channels;
    const bool isFloat = floatDevice(f);
    tarnuvo::DownmixMatrix matrix{};
    if (f.channels > 2) {
        matrix = vorbisOrder(f)
                     ? tarnuvo::downmixForVorbis(f.channels)
                     : tarnuvo::downmixForMask(
                           f.channels, f.mask ? f.mask : tarnuvo::defaultChannelMask(f.channels));
    }
    Bytes out;
    out.reserve(plain.size() / frameBytes * deviceFrameBytes(f));
    for (size_t at = 0; at + frameBytes <= plain.size(); at += frameBytes) {
        float x[8] = {};
        for (uint32_t c = 0; c < f.channels; ++c)
            x[c] = deviceValue(f, &plain[at + c * sampleBytes]);
        float values[2] = {x[0], f.channels > 1 ? x[1] : 0.0f};
        if (f.channels > 2) {
            float left = 0.0f, right = 0.0f;
            for (uint32_t c = 0; c < f.channels; ++c) {
                left += matrix.left[c] * x[c];
                right += matrix.right[c] * x[c];
            }
            values[0] = left * 1.0f;
            values[1] = right * 1.0f;
        }
        for (uint32_t c = 0; c < deviceChannels(f); ++c) {
            if (isFloat)
                store(out, values[c]);
            else
                store(out, toDevice16(values[c]));
        }
    }
    return out;
}

// Runs tarnuvo-render with `args`, its standard output into `outputFile`;
// the exit code.
int runRender(const std::string& args, const std::string& outputFile) {
    const std::string exe = hostPath(TARNUVO_RENDER);
#ifdef _WIN32
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outputFile.c_str(), GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return -1;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string line = "\"" + exe + "\" " + args;
    const BOOL started = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(out);
    if (!started) return -1;
    DWORD code = 1;
    WaitForSingleObject(process.hProcess, 120000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
#else
    const int status = std::system(("'" + exe + "' " + args + " > '" + outputFile + "'").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string quoted(const std::string& path) {
    return "\"" + path + "\"";
}

Bytes deviceStream(const Format& f) {
    return deviceStream(f, plainDecode(f));
}

// An Opus stream from a wrap to its loop start to its end, as 32-bit floats.
Bytes opusAfterWrap(const Format& f) {
#ifdef _WIN32
    return decodeOpusFloat(fixture(f.file), f.loopEnd, f.loopStart);
#else
    TempDir dir;
    const std::string out = dir.path("pass.raw");
    const std::string line = "'" TARNUVO_OPUS_PASS_ORACLE "' '" + fixture(f.file) + "' " +
                             std::to_string(f.loopEnd) + " " + std::to_string(f.loopStart) +
                             " > '" + out + "'";
    return std::system(line.c_str()) == 0 ? readFile(out) : Bytes();
#endif
}

// What N loop passes render to: the plain decode looped, except that an Opus
// pass after a wrap is the decode after a seek.
Bytes expectedRender(const Format& f, uint32_t loops) {
    const Bytes device = deviceStream(f);
    const size_t frameBytes = deviceFrameBytes(f);
    if (f.type != "opus" || loops == 0)
        return expectedLoopStream(device, f.loopStart, f.loopEnd, loops, frameBytes);
    const Bytes pass = deviceStream(f, opusAfterWrap(f));
    if (pass.size() < (f.loopEnd - f.loopStart) * frameBytes) return Bytes();
    const Bytes body = slice(pass, 0, (f.loopEnd - f.loopStart) * frameBytes);
    Bytes out = slice(device, 0, f.loopEnd * frameBytes);
    for (uint32_t i = 1; i < loops; ++i) out.insert(out.end(), body.begin(), body.end());
    out.insert(out.end(), pass.begin(), pass.end());
    return out;
}

// A rendered WAV file: its format fields, where its samples start, the samples.
struct Rendered {
    uint16_t tag = 0, channels = 0, bits = 0;
    uint32_t rate = 0, factFrames = 0;
    size_t dataOffset = 0;
    Bytes data;
};

Rendered readRendered(const Bytes& wav) {
    Rendered r;
    const Bytes format = riffChunk(wav, "fmt "), fact = riffChunk(wav, "fact");
    if (format.size() >= 16) {
        r.tag = load<uint16_t>(&format[0]);
        r.channels = load<uint16_t>(&format[2]);
        r.rate = load<uint32_t>(&format[4]);
        r.bits = load<uint16_t>(&format[14]);
    }
    if (fact.size() >= 4) r.factFrames = load<uint32_t>(&fact[0]);
    r.data = riffChunk(wav, "data");
    for (size_t at = 12; at + 8 <= wav.size(); at += 8 + load<uint32_t>(&wav[at + 4])) {
        if (std::memcmp(&wav[at], "data", 4) == 0) {
            r.dataOffset = at + 8;
            break;
        }
    }
    return r;
}

// Where two device streams part: the byte, the frame, the channel and both values.
std::string firstDifferenceText(const Format& f, const Bytes& got, const Bytes& want) {
    const int64_t at = firstDifference(got, want);
    if (at < 0) return "equal";
    std::ostringstream text;
    text << f.file << ": " << got.size() << " bytes rendered, " << want.size()
         << " expected; first difference at byte " << at;
    const size_t sampleBytes = floatDevice(f) ? 4 : 2;
    const size_t sample = static_cast<size_t>(at) / sampleBytes;
    text << " (frame " << sample / deviceChannels(f) << ", channel " << sample % deviceChannels(f);
    const size_t from = sample * sampleBytes;
    auto value = [&](const Bytes& b) -> std::string {
        if (from + sampleBytes > b.size()) return "none";
        if (!floatDevice(f)) return std::to_string(load<int16_t>(&b[from]));
        std::ostringstream v;
        v.precision(9);
        v << load<float>(&b[from]) << " [0x" << std::hex << load<uint32_t>(&b[from]) << "]";
        return v.str();
    };
    text << "): rendered " << value(got) << ", expected " << value(want);
    return text.str();
}

class RenderFormats : public ::testing::TestWithParam<std::tuple<Format, uint32_t>> {};

TEST_P(RenderFormats, LoopPassesEqualThePlainDecodeInTheDeviceFormat) {
    const auto& [f, loops] = GetParam();
    const Bytes device = deviceStream(f);
    ASSERT_GE(device.size(), f.loopEnd * deviceFrameBytes(f)) << "the plain decode is short";
    TempDir dir;
    const std::string out = dir.path("out.wav");
    ASSERT_EQ(runRender("--loops " + std::to_string(loops) + " " + quoted(fixture(f.file)) + " " +
                            quoted(out),
                        dir.path("stdout.txt")),
              0);
    const Rendered r = readRendered(readFile(out));
    EXPECT_EQ(r.tag, floatDevice(f) ? 3 : 1);
    EXPECT_EQ(r.channels, deviceChannels(f));
    EXPECT_EQ(r.rate, f.rate);
    EXPECT_EQ(r.bits, floatDevice(f) ? 32 : 16);
    EXPECT_EQ(r.dataOffset, floatDevice(f) ? 58u : 44u);
    if (floatDevice(f)) {
        EXPECT_EQ(r.factFrames, r.data.size() / deviceFrameBytes(f));
    }
    EXPECT_EQ(firstDifferenceText(f, r.data, expectedRender(f, loops)), "equal");
}

// The info lines name the file's own format and its loop in its own frames.
class RenderFormatsInfo : public ::testing::TestWithParam<Format> {};

TEST_P(RenderFormatsInfo, NamesTheFormatAndTheLoopInFrames) {
    const Format& f = GetParam();
    TempDir dir;
    const std::string text = dir.path("info.txt");
    ASSERT_EQ(runRender("--info " + quoted(fixture(f.file)), text), 0);
    std::string lines;
    for (uint8_t c : readFile(text))
        if (c != '\r') lines += static_cast<char>(c);
    const size_t frames = deviceStream(f).size() / deviceFrameBytes(f);
    const std::string kind =
        f.type.rfind("flac", 0) == 0                                                     ? "flac"
        : f.type == "adpcm" || f.type == "vorbis" || f.type == "mp3" || f.type == "opus" ? f.type
                                                                                         : "pcm";
    std::ostringstream want;
    want << "kind=" << kind << "\n";
    const std::string source = f.type == "flac24"                        ? "flac-float"
                               : f.type == "flac8" || f.type == "flac16" ? "flac"
                                                                         : f.type;
    want << "rate=" << f.rate << "\nchannels=" << f.channels << "\nsource=" << source
         << "\ndevice=" << (floatDevice(f) ? "float" : "16-bit") << "\nframes=" << frames
         << "\nloopStartFrames=" << f.loopStart << "\nloopEndFrames=" << f.loopEnd << "\n";
    // kind= opens the text; the new lines follow artist= in their order.
    const size_t rate = lines.find("\nrate=");
    ASSERT_NE(rate, std::string::npos) << lines;
    EXPECT_EQ(lines.substr(0, lines.find('\n') + 1) + lines.substr(rate + 1), want.str());
    EXPECT_NE(lines.find("\nloop=1\n"), std::string::npos) << lines;
}

std::string nameOf(const Format& f) {
    std::string name = f.file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Table, RenderFormats,
                         ::testing::Combine(::testing::ValuesIn(formatsTable()),
                                            ::testing::Values(0u, 1u, 3u)),
                         [](const ::testing::TestParamInfo<RenderFormats::ParamType>& info) {
                             return nameOf(std::get<0>(info.param)) + "_loops" +
                                    std::to_string(std::get<1>(info.param));
                         });
INSTANTIATE_TEST_SUITE_P(Table, RenderFormatsInfo, ::testing::ValuesIn(formatsTable()),
                         [](const ::testing::TestParamInfo<Format>& info) {
                             return nameOf(info.param);
                         });

// A fade after N passes: the stream keeps wrapping at the loop end and the
// frames from T + D on scale by (F - k) / F, T = E + N x L. The oracle is
// the plain decode in the device format, looped and faded here.
TEST(RenderFades, TheLoopGoesOnWhileItFadesAndTheTrackEndsWithTheFade) {
    TempDir dir;
    Format own;  // 16-bit PCM at 44,100 Hz, made here
    own.type = "s16";
    own.rate = 44100;
    own.channels = 2;
    own.loopStart = 1000;
    own.loopEnd = 9000;
    own.file = dir.write(
        "s16_44100.wav",
        WavBuilder().pcmFormat().smpl(1000, 9000).chunk("data", countingPcm(20011)).build());
    struct Case {
        std::string file;
        uint32_t loops, fadeMs, delayMs, wantFadeFrames;
    };
    const Case cases[] = {
        {own.file, 2, 100, 0, 4410},                   // F shorter than L
        {own.file, 1, 1000, 50, 44100},                // F longer than L, with a delay
        {"s24_48000_stereo.wav", 1, 300, 100, 14400},  // float output
        {"s24_48000_stereo.wav", 2, 2000, 0, 96000},
        {"vorbis_48000_stereo.ogg", 1, 500, 20, 24000},
        {"adpcm_22050_mono.wav", 2, 110, 0, 2426},  // 2,425.5 frames round up
    };
    const std::vector<Format> table = formatsTable();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " fade " + std::to_string(c.fadeMs));
        Format f = own;
        for (const Format& row : table)
            if (row.file == c.file) f = row;
        if (f.file != c.file) continue;  // not in this build's sample of the table
        const Bytes device = c.file == own.file ? countingPcm(20011) : deviceStream(f);
        const size_t frameBytes = deviceFrameBytes(f);
        const uint64_t e = f.loopEnd, l = f.loopEnd - f.loopStart;
        const uint64_t tail = e + c.loops * l;
        const uint64_t delay = (uint64_t{c.delayMs} * f.rate + 500) / 1000;
        ASSERT_EQ((uint64_t{c.fadeMs} * f.rate + 500) / 1000, c.wantFadeFrames);
        const Bytes want = expectedFadeStream(device, frameBytes, floatDevice(f), f.loopStart, e, 0,
                                              tail + delay, c.wantFadeFrames);
        const std::string out = dir.path("fade.wav");
        const std::string path = c.file == own.file ? own.file : fixture(f.file);
        ASSERT_EQ(runRender("--loops " + std::to_string(c.loops) + " --fade-ms " +
                                std::to_string(c.fadeMs) + " --fade-delay-ms " +
                                std::to_string(c.delayMs) + " " + quoted(path) + " " + quoted(out),
                            dir.path("stdout.txt")),
                  0);
        const Rendered r = readRendered(readFile(out));
        EXPECT_EQ(r.data.size() / frameBytes, tail + delay + c.wantFadeFrames);
        EXPECT_EQ(firstDifferenceText(f, r.data, want), "equal");
    }
}

// The offset, within a few codec frames, at which a lossy decode (32-bit
// floats) differs least from its 16-bit source, on the first channel.
int64_t bestLag(const Format& f, const Bytes& plain, const Bytes& source) {
    const size_t n = f.channels;
    const size_t frames = std::min(plain.size() / (4 * n), source.size() / (2 * n));
    const int64_t from = static_cast<int64_t>(frames / 3), span = 2048, reach = 1200;
    double least = INFINITY;
    int64_t lag = -reach - 1;
    for (int64_t d = -reach; d <= reach; ++d) {
        double error = 0;
        for (int64_t i = from; i < from + span; ++i) {
            const float x = load<float>(&plain[static_cast<size_t>(i + d) * n * 4]);
            const float y = load<int16_t>(&source[static_cast<size_t>(i) * n * 2]) / 32768.0f;
            error += (x - y) * (x - y);
        }
        if (error < least) {
            least = error;
            lag = d;
        }
    }
    return lag;
}

// Where the decoder trims the encoder's delay and padding (every file but the
// MP3 without its LAME/Xing tag), the decode is as long as the source and
// lines up with it: lossless ones are their source (the loop table), lossy
// ones differ least from it at offset 0.
TEST(RenderFormatsTable, TrimmedDecodesHaveTheSourceLengthAndNoLag) {
    for (const Format& f : formatsTable()) {
        if (f.sourceFrames == 0) continue;
        SCOPED_TRACE(f.file);
        const Bytes plain = plainDecode(f);
        EXPECT_EQ(plain.size() / (plainSampleBytes(f) * f.channels), f.sourceFrames);
        if (f.type != "mp3" && f.type != "opus") continue;
        const Bytes source = riffChunk(readFile(fixture(f.file + ".source.wav")), "data");
        ASSERT_FALSE(source.empty());
        EXPECT_EQ(bestLag(f, plain, source), 0);
    }
}

TEST(RenderFormatsTable, CoversEveryTypeRateAndChannelCount) {
    const std::vector<Format> table = formatsTable();
#ifdef _WIN32
    EXPECT_GE(table.size(), 4u);
#else
    std::set<std::string> types;
    std::set<uint32_t> rates, channels;
    for (const Format& f : table) {
        types.insert(f.type);
        rates.insert(f.rate);
        channels.insert(f.channels);
    }
    EXPECT_EQ(types, (std::set<std::string>{"u8", "s16", "s24", "s32", "f32", "f64", "adpcm",
                                            "vorbis", "mp3", "flac8", "flac16", "flac24", "opus"}));
    EXPECT_EQ(rates, (std::set<uint32_t>{22050, 32000, 44100, 48000, 96000}));
    EXPECT_EQ(channels, (std::set<uint32_t>{1, 2, 6}));
#endif
}

}  // namespace
