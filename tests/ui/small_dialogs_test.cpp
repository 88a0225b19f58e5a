// The version dialog and the tag library box open over the window and close.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;

TEST_F(Views, TheVersionDialogOpensCentredAndClosesEitherWay) {
    start();
    RECT owner = {};
    GetWindowRect(window, &owner);
    for (UINT close : {UINT{WM_COMMAND}, UINT{WM_CLOSE}}) {
        RECT where = {};
        std::string text;
        std::thread user([&] {
            const std::string title = test::sjis("バージョン情報");
            HWND dialog = nullptr;
            for (int i = 0; i < 3000 && !(dialog && IsWindowVisible(dialog)); ++i, Sleep(10))
                dialog = FindWindowA("#32770", title.c_str());
            GetWindowRect(dialog, &where);
            char buffer[64] = {};
            GetDlgItemTextA(dialog, 1100, buffer, sizeof buffer);
            text = buffer;
            PostMessageA(dialog, close, close == WM_COMMAND ? IDOK : 0, 0);
        });
        SendMessageA(window, WM_COMMAND, 40500, 0);
        user.join();
        EXPECT_EQ(text, "Tarnuvo Ver.0.2a");
        EXPECT_EQ(where.left - owner.left, owner.right - where.right);
        EXPECT_LE(std::abs((where.top - owner.top) - (owner.bottom - where.bottom)), 1);
        EXPECT_TRUE(IsWindowEnabled(window)) << "usable again";
    }
}

// The tests in with-tags/ have the stand-in library beside them.
TEST_F(Views, TheTagBoxSaysTheLibraryIsNotInstalled) {
    start();
    test::BoxReader boxes;
    SendMessageA(window, WM_COMMAND, 40501, 0);
    EXPECT_EQ(boxes.texts,
              std::vector<std::string>{test::sjis("mp3infpはインストールされていません。")});
    EXPECT_EQ(boxes.captions, std::vector<std::string>{test::sjis("mp3infp情報")});
}

}  // namespace
}  // namespace tarnuvo
