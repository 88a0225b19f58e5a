// Helpers of the list-file tests: text in the ANSI code page, records and
// their field-by-field comparison.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "engine/text.h"
#include "engine/track_info.h"
#include "playlist/profile_text.h"

namespace list_test {

// UTF-8 source text in the ANSI code page (932 in every test run).
inline std::string ansi(const char* utf8) {
    char out[1024];
    tarnuvo::systemCodec().fromUtf8(utf8, out, sizeof out);
    return out;
}

inline std::string readText(const tarnuvo::ProfileText& ini, const char* section, const char* key) {
    char out[tarnuvo::kTextSize];
    tarnuvo::profileText(ini.lookup(ini.findSection(section), key), out, sizeof out);
    return out;
}

inline tarnuvo::TrackInfo track(const std::string& location, const std::string& title,
                                const std::string& artist, uint32_t length, int32_t hasLoop = 0,
                                uint32_t loopStart = 0, uint32_t loopEnd = 0) {
    tarnuvo::TrackInfo t;
    std::strncpy(t.path, location.c_str(), tarnuvo::kTextSize - 1);
    std::strncpy(t.location, location.c_str(), tarnuvo::kTextSize - 1);
    std::strncpy(t.title, title.c_str(), tarnuvo::kTextSize - 1);
    std::strncpy(t.artist, artist.c_str(), tarnuvo::kTextSize - 1);
    t.length = length;
    t.hasLoop = hasLoop;
    t.loopStart = loopStart;
    t.loopEnd = loopEnd;
    t.infoKnown = length != 0;
    return t;
}

// The fields a list file stores, compared one by one.
inline void expectSameStoredFields(const tarnuvo::TrackInfo& want, const tarnuvo::TrackInfo& got,
                                   const std::string& where) {
    EXPECT_STREQ(want.path, got.path) << where;
    EXPECT_STREQ(want.location, got.location) << where;
    EXPECT_STREQ(want.title, got.title) << where;
    EXPECT_STREQ(want.artist, got.artist) << where;
    EXPECT_EQ(want.length, got.length) << where;
    EXPECT_EQ(want.hasLoop, got.hasLoop) << where;
    EXPECT_EQ(want.loopStart, got.loopStart) << where;
    EXPECT_EQ(want.loopEnd, got.loopEnd) << where;
    EXPECT_EQ(want.infoKnown, got.infoKnown) << where;
    EXPECT_EQ(want.sampleRate, got.sampleRate) << where;
    EXPECT_EQ(want.frameCount, got.frameCount) << where;
}

// A track at its own rate, as an open finds it: loop points and length in
// its frames, the length in time units.
inline tarnuvo::TrackInfo atRate(tarnuvo::TrackInfo t, uint32_t rate, uint32_t frames) {
    t.sampleRate = rate;
    t.frameCount = frames;
    return t;
}

}  // namespace list_test
