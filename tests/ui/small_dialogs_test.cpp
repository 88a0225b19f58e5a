// The version dialog and the tag library box open over the window and close.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;

// Finds the dialog with `caption`, reads it, then closes it with `close`
// (a command id, or 0 for WM_CLOSE).
struct DialogCloser {
    std::string caption;
    WPARAM close = IDOK;
    std::atomic<bool> found{false};
    std::string text;
    bool hasIcon = false;
    RECT where = {};

    static DWORD WINAPI run(void* argument) {
        auto* self = static_cast<DialogCloser*>(argument);
        for (int i = 0; i < 3000; ++i) {
            HWND dialog = FindWindowA("#32770", self->caption.c_str());
            if (dialog && IsWindowVisible(dialog)) {
                Sleep(50);
                GetWindowRect(dialog, &self->where);
                char buffer[256] = {};
                GetDlgItemTextA(dialog, 1100, buffer, sizeof buffer);
                self->text = buffer;
                HWND icon = FindWindowExA(dialog, nullptr, "Static", nullptr);
                while (icon && !(GetWindowLongA(icon, GWL_STYLE) & SS_ICON))
                    icon = FindWindowExA(dialog, icon, "Static", nullptr);
                self->hasIcon = icon && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
                self->found = true;
                if (self->close)
                    PostMessageA(dialog, WM_COMMAND, self->close, 0);
                else
                    PostMessageA(dialog, WM_CLOSE, 0, 0);
                return 0;
            }
            Sleep(10);
        }
        return 1;
    }
};

TEST_F(Views, TheVersionDialogOpensCentredAndClosesEitherWay) {
    start();
    RECT owner = {};
    GetWindowRect(window, &owner);
    for (WPARAM close : {WPARAM{IDOK}, WPARAM{0}}) {
        DialogCloser closer;
        closer.caption = test::sjis("バージョン情報");
        closer.close = close;
        UniqueHandle thread(CreateThread(nullptr, 0, DialogCloser::run, &closer, 0, nullptr));
        SendMessageA(window, WM_COMMAND, 40500, 0);
        WaitForSingleObject(thread.get(), 30000);
        ASSERT_TRUE(closer.found);
        EXPECT_EQ(closer.text, "Tarnuvo Ver.0.2a");
        EXPECT_TRUE(closer.hasIcon);
        const LONG w = closer.where.right - closer.where.left;
        const LONG h = closer.where.bottom - closer.where.top;
        EXPECT_EQ(closer.where.left, owner.left + (owner.right - owner.left - w) / 2);
        EXPECT_EQ(closer.where.top, owner.top + (owner.bottom - owner.top - h) / 2);
        EXPECT_TRUE(IsWindowEnabled(window)) << "the window is usable again";
    }
}

TEST_F(Views, TheTagBoxSaysTheLibraryIsNotInstalled) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string beside = exe;
    beside = beside.substr(0, beside.find_last_of('\\') + 1) + "mp3infp.dll";
    ASSERT_FALSE(test::isFile(beside)) << "this test runs without the library";
    start();
    test::BoxReader boxes;
    main->showTagInfo();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, test::sjis("mp3infpはインストールされていません。"));
    EXPECT_EQ(boxes.boxes[0].caption, test::sjis("mp3infp情報"));
}

}  // namespace
}  // namespace tarnuvo
