// Damaged files, as the media fuzz target's damaged-* seeds hold them (a kind
// byte, a control byte, then the file): each renders in every play mode with
// loop passes without a crash, a read outside a buffer (under ASan) or a
// hang, and plays what decodes or is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/engine/test_support.h"

using namespace testing_support;
using namespace tarnuvo;

namespace {

enum Outcome { Plays, Refused, Either };

TEST(BadInput, DamagedFilesPlayWhatDecodesOrAreRefused) {
    // Where the outcome is sure; the other damaged seeds only must not fail.
    const std::map<std::string, Outcome> outcomes = {
        {"mp3-garbage-between-frames", Plays},
        {"mp3-truncated-last-frame", Plays},
        {"mp3-xing-absurd-counts", Plays},
        {"mp3-lame-delay-and-padding-absurd", Either},
        {"mp3-id3v2-size-huge", Refused},  // no frame after the tag
        {"mp3-id3v2-size-past-the-end", Refused},
        {"mp3-in-mp4", Refused},  // never taken as sound only
        {"mp3-in-riff", Refused},
        {"flac-bad-crc", Plays},
        {"flac-truncated", Plays},
        {"flac-metadata-block-longer-than-file", Either},
        {"flac-comment-count-huge", Either},
        {"flac-streaminfo-rate-zero", Either},
        {"flac-headers-only", Either},
        {"opus-bad-pages", Plays},
        {"opus-garbage-in-pages", Plays},
        {"opus-zero-length-stream", Either},
        {"opus-pre-skip-beyond-stream", Either},
        {"opus-output-gain-huge", Plays},
        {"opus-cut", Plays},
        {"opus-last-page-dropped", Plays},
    };
    TempDir dir;
    size_t checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(hostPath(TARNUVO_FUZZ_SEEDS))) {
        const std::string stem = entry.path().stem().string();
        if (stem.rfind("damaged-", 0) != 0) continue;
        const std::string name = stem.substr(8);
        const Bytes seed = readFile(entry.path().string());
        ASSERT_GE(seed.size(), 2u) << name;
        const std::string file = dir.write("damaged.bin", slice(seed, 2, seed.size()));
        const auto known = outcomes.find(name);
        const Outcome want = known == outcomes.end() ? Either : known->second;
        checked += known != outcomes.end();
        for (int32_t m : {Single, RepeatOne, RepeatAll}) {
            RenderResult r;
            const Bytes out = render(file, mode(m, 3, 1 << 20), &r);
            EXPECT_LE(out.size(), 1u << 20) << name;
            EXPECT_TRUE(r.status == 1 || r.trackEnded || out.size() == (1u << 20)) << name;
            EXPECT_TRUE(want != Refused || r.status == 1) << name << " plays";
            EXPECT_TRUE(want != Plays || (r.status == 0 && !out.empty())) << name << " is silent";
        }
    }
    EXPECT_EQ(checked, outcomes.size()) << "a damaged seed of the table is missing";
}

}  // namespace
