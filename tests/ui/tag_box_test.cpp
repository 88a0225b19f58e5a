// The tag library box with the stand-in library beside the program, which
// reports the version it is given: major.minor in hexadecimal digits.
#include <gtest/gtest.h>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;

TEST_F(Views, TheTagBoxShowsTheInstalledVersion) {
    start();
    for (const char* version : {"0x0250", "0x1a0f"}) {
        SetEnvironmentVariableA("TARNUVO_TAG_VERSION", version);
        test::BoxReader boxes;
        SendMessageA(window, WM_COMMAND, 40501, 0);
        const std::string shown = version[2] == '0' ? "2.50" : "1a.0f";
        EXPECT_EQ(boxes.texts,
                  std::vector<std::string>{test::sjis(
                      ("mp3infp Ver." + shown + " がインストールされています。").c_str())});
    }
    EXPECT_EQ(GetModuleHandleA("mp3infp.dll"), nullptr) << "let go once the box closed";
}

}  // namespace
}  // namespace tarnuvo
