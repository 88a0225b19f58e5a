// The tag library box with the library beside the program: its version as
// major.minor in hexadecimal digits.
#include <windows.h>

#include <gtest/gtest.h>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;

TEST_F(Views, TheTagBoxShowsTheInstalledVersion) {
    start();
    const struct {
        const char* version;
        const char* shown;
    } cases[] = {{"0x0250", "2.50"}, {"0x0305", "3.05"}, {"0x1a0f", "1a.0f"}};
    for (const auto& c : cases) {
        // The stand-in library reports the version it is given here.
        SetEnvironmentVariableA("TARNUVO_TAG_VERSION", c.version);
        test::BoxReader boxes;
        main->showTagInfo();
        ASSERT_EQ(boxes.boxes.size(), 1u) << c.version;
        EXPECT_EQ(boxes.boxes[0].text, test::sjis("mp3infp Ver.") + c.shown +
                                           test::sjis(" がインストールされています。"));
        EXPECT_EQ(boxes.boxes[0].caption, test::sjis("mp3infp情報"));
    }
    SetEnvironmentVariableA("TARNUVO_TAG_VERSION", nullptr);
    // The library was let go once the box closed.
    EXPECT_EQ(GetModuleHandleA("mp3infp.dll"), nullptr);
}

}  // namespace
}  // namespace tarnuvo
