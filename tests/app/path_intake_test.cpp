// The paths that the add dialog's result and dropped files hand in: one path
// or a folder with names, drive roots, double-byte characters whose second
// byte is "\" or "|", paths too long for a path buffer, lost characters.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/path_intake.h"

namespace tarnuvo {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::string>;

// ソ (second byte "\"), ポ (second byte "|") and 表 in code page 932.
const std::string kSo = "\x83\x5C", kPo = "\x83\x7C", kTable = "\x95\x5C";

TEST(SplitSelection, CasesOfTheDialogsResult) {
    const std::string so = "C:\\" + kSo, share = "\\\\server\\" + kTable + "\\";
    const std::string longFolder = "C:\\" + std::string(250, 'f');  // 253 bytes
    const struct {
        std::string bytes;
        size_t offset;
        Paths paths;
        int32_t tooLong, unnamed;
    } cases[] = {
        // One file: the byte before the name is its separator.
        {"C:\\music\\a.wav\0\0"s, 9, {"C:\\music\\a.wav"}, 0, 0},
        {"C:\\a.wav\0\0"s, 3, {"C:\\a.wav"}, 0, 0},
        {so + "\\b.ogg\0\0"s, so.size() + 1, {so + "\\b.ogg"}, 0, 0},
        // Names joined to their folder with one separator, none doubled.
        {"C:\\m\0a.wav\0b.ogg\0\0"s, 5, {"C:\\m\\a.wav", "C:\\m\\b.ogg"}, 0, 0},
        {"C:\\\0a.wav\0b.wav\0c.wav\0\0"s, 4, {"C:\\a.wav", "C:\\b.wav", "C:\\c.wav"}, 0, 0},
        {so + "\0a.wav\0b.wav\0\0"s, so.size() + 1, {so + "\\a.wav", so + "\\b.wav"}, 0, 0},
        {share + "\0x.wav\0\0"s, share.size() + 1, {share + "x.wav"}, 0, 0},
        {"D:\\" + kPo + "\0"s + kPo + ".wav\0a|b\0\0"s,
         6,
         {"D:\\" + kPo + "\\" + kPo + ".wav", "D:\\" + kPo + "\\a|b"},
         0,
         0},
        // 259 bytes fit, 260 do not; "?" stands for a lost character.
        {longFolder + "\0nnnnn\0oooooo\0a\0\0"s,
         254,
         {longFolder + "\\nnnnn", longFolder + "\\a"},
         1,
         0},
        {"C:\\" + std::string(257, 'w') + "\0\0"s, 3, {}, 1, 0},
        {"C:\\m\0caf?.wav\0ok.wav\0??\0"s + kSo + "?\0\0"s, 5, {"C:\\m\\ok.wav"}, 0, 3},
        // Nothing is read past the buffer: a last text without its terminator is left out.
        {"C:\\d\0a\0b"s, 5, {"C:\\d\\a"}, 0, 0},
        {"C:\\abc"s, 3, {}, 0, 0},
        {""s, 0, {}, 0, 0},
        {"C:\\x.wav\0"s, 40, {"C:\\x.wav"}, 0, 0},
        {"C:\\x.wav\0"s, 0, {"C:\\x.wav"}, 0, 0},
        {"C:\\d\0"s, 5, {}, 0, 0},
    };
    for (const auto& c : cases) {
        // A buffer of exactly these bytes: a read past it shows under the sanitizer.
        std::unique_ptr<char[]> buffer(new char[c.bytes.size()]);
        std::memcpy(buffer.get(), c.bytes.data(), c.bytes.size());
        const PathIntake got = splitSelection(buffer.get(), c.bytes.size(), c.offset);
        EXPECT_EQ(got.paths, c.paths) << c.bytes;
        EXPECT_EQ(got.tooLong, c.tooLong) << c.bytes;
        EXPECT_EQ(got.unnamed, c.unnamed) << c.bytes;
    }
}

TEST(TakePath, DroppedPathsAreTakenWholeOrLeftOut) {
    PathIntake intake;
    for (const std::string& path :
         {"C:\\music"s, ""s, "C:\\" + kSo + "\\" + kPo + ".wav", "C:\\" + std::string(256, 'x'),
          "C:\\" + std::string(257, 'x'), "C:\\?.wav"s, "C:\\" + kTable + kPo})
        takePath(intake, path.c_str());
    EXPECT_EQ(intake.paths, (Paths{"C:\\music", "C:\\" + kSo + "\\" + kPo + ".wav",
                                   "C:\\" + std::string(256, 'x'), "C:\\" + kTable + kPo}));
    EXPECT_EQ(intake.tooLong, 1);
    EXPECT_EQ(intake.unnamed, 1);
}

}  // namespace
}  // namespace tarnuvo
