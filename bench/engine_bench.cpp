// Figures for the refill path: one fillBuffer per source kind, one that
// holds a loop wrap (a seek inside the decoder) per decoder, and the ADPCM
// decoder. The real-time factor is the time one buffer lasts (46.4 ms at
// 44,100 Hz, about as long at every rate) divided by the time it took to
// fill it. The other formats use the fixtures of the formats table.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "bench/wrap_fill.h"
#include "engine/adpcm.h"
#include "tools/render/renderer.h"

namespace {

using namespace tarnuvo;

constexpr double kBufferSeconds = 8192.0 / kBytesPerSecond;

std::string fixture(const char* name) {
    return std::string(TARNUVO_FIXTURES) + "/" + name;
}

class NullSink : public BufferSink {
public:
    void queue(uint32_t, OutputBuffer&) override {}
};

class CountingWriter : public ByteWriter {
public:
    bool write(const uint8_t*, size_t) override { return true; }
};

void fillBuffers(benchmark::State& state, const char* file) {
    PlayerEnvironment env;
    env.playMode = RepeatOne;  // never ends: every iteration fills a full buffer
    CountingWriter out;
    RenderPlayer player(out);
    player.attach(nullptr, &env);
    if (player.open(fixture(file).c_str(), -1, 0, nullptr) < 0) {
        state.SkipWithError("fixture missing");
        return;
    }
    player.setVolume(50000);  // the gain is part of every real fill
    player.applyLoopRange();
    player.play(0);  // chooses the device format and sets up the buffers
    NullSink sink;
    for (auto _ : state) player.fillBuffer(sink);
    const DeviceFormat& device = player.deviceFormat();
    const uint32_t frames = player.bufferFrames();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * player.bufferBytes());
    state.SetLabel(std::to_string(device.rate) + " Hz, " + std::to_string(device.channels) +
                   (device.isFloat ? " ch float" : " ch 16-bit"));
    state.counters["realtime_x"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * frames / device.rate,
                           benchmark::Counter::kIsRate);
}

void BM_FillBufferPcm(benchmark::State& s) {
    fillBuffers(s, "source.wav");
}
void BM_FillBufferAdpcm(benchmark::State& s) {
    fillBuffers(s, "adpcm_loop.wav");
}
void BM_FillBufferVorbis(benchmark::State& s) {
    fillBuffers(s, "vorbis_loop.ogg");
}

// Every iteration fills one buffer holding one wrap.
void fillWrapBuffers(benchmark::State& state, const char* file) {
    PlayerEnvironment env;
    DiscardingWriter out;
    RenderPlayer player(out);
    DiscardingSink sink;
    if (!startWrapFills(player, env, fixture(file), sink)) {
        state.SkipWithError("fixture missing");
        return;
    }
    uint64_t wraps = 0;
    for (auto _ : state) {
        player.fillBuffer(sink);
        wraps += player.buffer(player.headerIndex).wraps;
    }
    state.counters["wraps_per_fill"] =
        static_cast<double>(wraps) / static_cast<double>(state.iterations());
    const DeviceFormat& device = player.deviceFormat();
    state.SetLabel(std::to_string(device.rate) + " Hz, buffer " +
                   std::to_string(player.bufferFrames() * 1000 / device.rate) + " ms");
}

void BM_DecodeAdpcm(benchmark::State& state) {
    std::ifstream in(fixture("adpcm_loop.wav"), std::ios::binary);
    std::vector<uint8_t> wav((std::istreambuf_iterator<char>(in)), {});
    if (wav.size() < 4096) {
        state.SkipWithError("fixture missing");
        return;
    }
    // Headers are skipped roughly; the decoder only needs whole blocks.
    const uint8_t* data = wav.data() + 90;
    const uint32_t bytes = static_cast<uint32_t>((wav.size() - 90) / 2048 * 2048);
    const uint32_t pcm = bytes / 2048 * 8144;
    uint8_t out[8192];
    uint32_t p = 0;
    for (auto _ : state) {
        decodeAdpcm(out, data, bytes, p, 8192);
        benchmark::DoNotOptimize(out);
        p = (p + 8192) % (pcm - 8192);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 8192);
    state.counters["realtime_x"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kBufferSeconds, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FillBufferPcm);
BENCHMARK(BM_FillBufferAdpcm);
BENCHMARK(BM_FillBufferVorbis);
BENCHMARK_CAPTURE(fillBuffers, Pcm24Bit, "s24_48000_stereo.wav");
BENCHMARK_CAPTURE(fillBuffers, Pcm24In32Extensible, "ext_s32v24_48000_stereo.wav");
BENCHMARK_CAPTURE(fillBuffers, Float32, "f32_22050_stereo.wav");
BENCHMARK_CAPTURE(fillBuffers, Float64At96000, "f64_96000_stereo.wav");
BENCHMARK_CAPTURE(fillBuffers, Pcm8Bit, "u8_48000_stereo.wav");
BENCHMARK_CAPTURE(fillBuffers, AdpcmMono, "adpcm_22050_mono.wav");
BENCHMARK_CAPTURE(fillBuffers, Vorbis48000, "vorbis_48000_stereo.ogg");
BENCHMARK_CAPTURE(fillBuffers, Vorbis6Channels, "vorbis_32000_6ch.ogg");
BENCHMARK_CAPTURE(fillBuffers, Pcm6ChannelsExtensible, "ext_s16_48000_6ch.wav");
BENCHMARK_CAPTURE(fillBuffers, Mp3Cbr, "mp3_cbr_44100_stereo.mp3");
BENCHMARK_CAPTURE(fillBuffers, Flac16, "flac16_44100_stereo.flac");
BENCHMARK_CAPTURE(fillBuffers, Flac24At96000, "flac24_96000_stereo.flac");
BENCHMARK_CAPTURE(fillBuffers, Opus, "opus_48000_stereo.opus");
BENCHMARK_CAPTURE(fillWrapBuffers, Vorbis, "vorbis_48000_stereo.ogg");
BENCHMARK_CAPTURE(fillWrapBuffers, Mp3Cbr, "mp3_cbr_44100_stereo.mp3");
BENCHMARK_CAPTURE(fillWrapBuffers, Mp3Vbr, "mp3_vbr_48000_stereo.mp3");
BENCHMARK_CAPTURE(fillWrapBuffers, Flac16, "flac16_44100_stereo.flac");
BENCHMARK_CAPTURE(fillWrapBuffers, Flac24At96000, "flac24_96000_stereo.flac");
BENCHMARK_CAPTURE(fillWrapBuffers, Opus, "opus_48000_stereo.opus");
BENCHMARK(BM_DecodeAdpcm);

}  // namespace

BENCHMARK_MAIN();
