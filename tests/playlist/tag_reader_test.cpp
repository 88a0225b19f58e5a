// TagReader with the stand-in tag library beside this program, on an mp3
// from lame and RIFF files from the fixture script, tagged here with TagLib.
#include <windows.h>

#include <gtest/gtest.h>

#include <apetag.h>
#include <id3v1tag.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <textidentificationframe.h>
#include <wavfile.h>

#include <cstring>
#include <functional>
#include <string>

#include "playlist/tag_reader.h"
#include "test_support.h"

using namespace tarnuvo;
using namespace tarnuvo_test;

namespace {

// "日本語のタイトル" and "歌手" in UTF-8 and in code page 932.
const char kJapaneseTitleUtf8[] =
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x82\xBF\xE3\x82\xA4\xE3\x83\x88\xE3\x83"
    "\xAB";
const char kJapaneseTitle932[] = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x5E\x83\x43\x83\x67\x83\x8B";
const char kSingerUtf8[] = "\xE6\xAD\x8C\xE6\x89\x8B";
const char kSinger932[] = "\x89\xCC\x8E\xE8";
// "波の音" in code page 932, as the RIFF fixture stores it.
const char kWaveTitle932[] = "\x94\x67\x82\xCC\x89\xB9";

TagLib::String utf8(const char* text) {
    return TagLib::String(text, TagLib::String::UTF8);
}
// Bytes kept as they are: TagLib writes Latin-1 strings byte for byte.
TagLib::String bytes(const char* text) {
    return TagLib::String(text, TagLib::String::Latin1);
}

void setFrame(TagLib::ID3v2::Tag* tag, const char* id, const TagLib::String& text,
              TagLib::String::Type encoding) {
    tag->removeFrames(id);
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, encoding);
    frame->setText(text);
    tag->addFrame(frame);
}

class TagReaderTest : public ::testing::Test {
protected:
    // A copy of the lame-made mp3 with the tags that `tag` sets.
    std::string mp3(const char* name, const std::function<void(TagLib::MPEG::File&)>& tag, int tags,
                    TagLib::ID3v2::Version version = TagLib::ID3v2::v4) {
        const std::string path = scratch.path() + name;
        EXPECT_TRUE(copyFile(fixture("tone.mp3"), path));
        std::wstring wide(path.begin(), path.end());
        TagLib::MPEG::File file(wide.c_str(), false);
        tag(file);
        EXPECT_TRUE(
            file.save(tags, TagLib::File::StripNone, version, TagLib::File::DoNotDuplicate));
        return path;
    }

    TrackInfo read(const std::string& path, const char* title = "from name") {
        TrackInfo track;
        std::strcpy(track.title, title);
        std::strcpy(track.artist, "");
        reader.readTags(path.c_str(), nullptr, track);
        return track;
    }

    void SetUp() override { ASSERT_TRUE(reader.load(kTagReaderMinVersion)); }

    ScratchDir scratch;
    TagReader reader;
};

}  // namespace

TEST_F(TagReaderTest, TheId3v2TitleWinsOverTheId3v1Title) {
    const std::string path = mp3(
        "both.mp3",
        [](TagLib::MPEG::File& f) {
            f.ID3v1Tag(true)->setTitle("V1 Title");
            f.ID3v1Tag(true)->setArtist("V1 Artist");
            f.ID3v2Tag(true)->setTitle("V2 Title");
        },
        TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2);
    const TrackInfo track = read(path);
    EXPECT_STREQ("V2 Title", track.title);
    EXPECT_STREQ("V1 Artist", track.artist);
    EXPECT_EQ(kTagFileMp3, reader.fileType());
    EXPECT_NE(0u, reader.mp3TagType() & kTagKindId3v1);
    EXPECT_NE(0u, reader.mp3TagType() & kTagKindId3v2);
}

TEST_F(TagReaderTest, AnEmptyId3v2TitleLeavesTheId3v1Title) {
    const std::string path = mp3(
        "v2-no-title.mp3",
        [](TagLib::MPEG::File& f) {
            f.ID3v1Tag(true)->setTitle("V1 Title");
            f.ID3v2Tag(true)->setArtist("V2 Artist");
        },
        TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2);
    const TrackInfo track = read(path);
    EXPECT_STREQ("V1 Title", track.title);
    EXPECT_STREQ("V2 Artist", track.artist);
    EXPECT_STREQ("", reader.value("INAM_v2"));
}

TEST_F(TagReaderTest, ARiffMp3TagIsUsedAndId3v2IsNotConsulted) {
    const std::string path = scratch.path() + "riff-mp3.wav";
    ASSERT_TRUE(copyFile(fixture("riff-mp3.wav"), path));
    {
        std::wstring wide(path.begin(), path.end());
        TagLib::RIFF::WAV::File wav(wide.c_str(), false);
        ASSERT_TRUE(wav.isValid());
        wav.ID3v2Tag()->setTitle("V2 Title");
        wav.ID3v2Tag()->setArtist("V2 Artist");
        ASSERT_TRUE(wav.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripNone));
    }
    const TrackInfo track = read(path);
    EXPECT_STREQ("RIFF Title", track.title);
    EXPECT_STREQ("RIFF Artist", track.artist);
    EXPECT_EQ(kTagFileMp3, reader.fileType());
    EXPECT_NE(0u, reader.mp3TagType() & kTagKindRiffMp3);
    EXPECT_NE(0u, reader.mp3TagType() & kTagKindId3v2);
    EXPECT_STREQ("V2 Title", reader.value("INAM_v2"));
}

TEST_F(TagReaderTest, ANonMp3FileWithAnEmptyTitleKeepsItsTitle) {
    const TrackInfo track = read(fixture("pcm-no-title.wav"), "pcm-no-title.wav");
    EXPECT_STREQ("pcm-no-title.wav", track.title);
    EXPECT_STREQ("WAV Artist", track.artist);
    EXPECT_NE(kTagFileMp3, reader.fileType());
    EXPECT_NE(kTagFileUnknown, reader.fileType());
}

TEST_F(TagReaderTest, RiffInfoTextsKeepTheirCodePageBytes) {
    const TrackInfo track = read(fixture("pcm-titled.wav"));
    EXPECT_STREQ(kWaveTitle932, track.title);
}

TEST_F(TagReaderTest, JapaneseUtf16Id3v2TextArrivesInCodePage932) {
    const std::string path = mp3(
        "utf16.mp3",
        [](TagLib::MPEG::File& f) {
            setFrame(f.ID3v2Tag(true), "TIT2", utf8(kJapaneseTitleUtf8), TagLib::String::UTF16);
            setFrame(f.ID3v2Tag(true), "TPE1", utf8(kSingerUtf8), TagLib::String::UTF16);
        },
        TagLib::MPEG::File::ID3v2, TagLib::ID3v2::v3);
    const TrackInfo track = read(path);
    EXPECT_STREQ(kJapaneseTitle932, track.title);
    EXPECT_STREQ(kSinger932, track.artist);
}

TEST_F(TagReaderTest, JapaneseUtf8Id3v2TextArrivesInCodePage932) {
    const std::string path = mp3(
        "utf8.mp3",
        [](TagLib::MPEG::File& f) {
            setFrame(f.ID3v2Tag(true), "TIT2", utf8(kJapaneseTitleUtf8), TagLib::String::UTF8);
            setFrame(f.ID3v2Tag(true), "TPE1", utf8(kSingerUtf8), TagLib::String::UTF8);
        },
        TagLib::MPEG::File::ID3v2, TagLib::ID3v2::v4);
    // The frame really is UTF-8 on disk: encoding byte 3 before the text.
    const std::string raw = readFile(path);
    EXPECT_NE(std::string::npos, raw.find(std::string("\x03") + kJapaneseTitleUtf8));
    const TrackInfo track = read(path);
    EXPECT_STREQ(kJapaneseTitle932, track.title);
    EXPECT_STREQ(kSinger932, track.artist);
}

TEST_F(TagReaderTest, UndeclaredEncodingsPassTheirBytesUnchanged) {
    const std::string path = mp3(
        "legacy.mp3",
        [](TagLib::MPEG::File& f) {
            f.ID3v1Tag(true)->setArtist(bytes(kSinger932));
            setFrame(f.ID3v2Tag(true), "TIT2", bytes(kJapaneseTitle932), TagLib::String::Latin1);
        },
        TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2, TagLib::ID3v2::v3);
    const TrackInfo track = read(path);
    EXPECT_STREQ(kJapaneseTitle932, track.title);
    EXPECT_STREQ(kSinger932, track.artist);
}

TEST_F(TagReaderTest, ApeTagsComeLastAndWin) {
    const std::string path = mp3(
        "ape.mp3",
        [](TagLib::MPEG::File& f) {
            f.ID3v2Tag(true)->setTitle("V2 Title");
            f.ID3v2Tag(true)->setArtist("V2 Artist");
            f.APETag(true)->setTitle(utf8(kJapaneseTitleUtf8));
        },
        TagLib::MPEG::File::ID3v2 | TagLib::MPEG::File::APE);
    const TrackInfo track = read(path);
    EXPECT_STREQ(kJapaneseTitle932, track.title);
    EXPECT_STREQ("V2 Artist", track.artist);
    EXPECT_NE(0u, reader.mp3TagType() & kTagKindApe);
}

TEST_F(TagReaderTest, LongValuesAreCutTo259BytesOnACharacterBoundary) {
    std::string longTitle;
    for (int i = 0; i < 200; ++i) longTitle += kSingerUtf8;  // 400 characters, 800 bytes in 932
    const std::string path = mp3(
        "long.mp3",
        [&](TagLib::MPEG::File& f) {
            f.ID3v2Tag(true)->setTitle(utf8(longTitle.c_str()));
            f.ID3v2Tag(true)->setArtist(TagLib::String(std::string(300, 'a')));
        },
        TagLib::MPEG::File::ID3v2);
    const TrackInfo track = read(path);
    EXPECT_EQ(258u, std::strlen(track.title));
    EXPECT_EQ(0, std::memcmp(track.title, kSinger932, 4));
    EXPECT_EQ(259u, std::strlen(track.artist));
}

TEST_F(TagReaderTest, AFileWithoutTagsOrAMissingFileChangesNothing) {
    const TrackInfo plain = read(fixture("tone.mp3"));
    EXPECT_STREQ("from name", plain.title);
    EXPECT_EQ(0u, reader.mp3TagType());
    const TrackInfo missing = read(scratch.path() + "absent.mp3");
    EXPECT_STREQ("from name", missing.title);
    EXPECT_NE(0, reader.loadFile(nullptr, (scratch.path() + "absent.mp3").c_str()));
}

TEST(TagReaderVersion, Version246IsReportedButRefusedForTags) {
    ScopedEnv version("TARNUVO_TAG_VERSION", "0x246");
    TagReader reader;
    ASSERT_TRUE(reader.load(0));
    EXPECT_EQ(0x246u, reader.version());
    EXPECT_FALSE(reader.load(0x247));
    EXPECT_FALSE(reader.isLoaded());
    EXPECT_EQ(0u, reader.version());
}

TEST(TagReaderVersion, Version247IsEnough) {
    ScopedEnv version("TARNUVO_TAG_VERSION", "0x247");
    TagReader reader;
    EXPECT_TRUE(reader.load(kTagReaderMinVersion));
    EXPECT_EQ(0x247u, reader.version());
}

TEST(TagReaderUnloaded, EveryOperationReportsNothing) {
    TagReader reader;
    TrackInfo track;
    std::strcpy(track.title, "kept");
    reader.readTags("C:\\x.mp3", nullptr, track);
    EXPECT_STREQ("kept", track.title);
    EXPECT_EQ(0u, reader.version());
    EXPECT_EQ(-1, reader.loadFile(nullptr, "C:\\x.mp3"));
    EXPECT_EQ(0u, reader.fileType());
    EXPECT_EQ(0u, reader.mp3TagType());
    EXPECT_STREQ("", reader.value("INAM"));
}
