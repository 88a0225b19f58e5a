// The open, add and save dialogs: how a selection reaches the loader, the
// refusals during a load and the failures the user is told.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/single_instance.h"
#include "playlist/playlist_file.h"
#include "views_fixture.h"

namespace tarnuvo {
namespace {

using namespace std::string_literals;
using test::g_dialog;
using test::Views;
using Paths = std::vector<std::string>;

TEST_F(Views, TheAddDialogSplitsOneOrManyNamesAndTellsWhenThereAreTooMany) {
    start();
    useFakeDialogs();
    const std::string so = dir / test::sjis("ソ");  // its second byte is "\"
    const struct {
        std::string result;
        size_t offset;
        Paths paths;
    } cases[] = {
        {"C:\\music\\a.wav\0\0"s, 9, {"C:\\music\\a.wav"}},
        {"C:\\\0a.wav\0b.wav\0c.wav\0\0"s, 4, {"C:\\a.wav", "C:\\b.wav", "C:\\c.wav"}},
        {so + "\0a.wav\0b.wav\0\0"s, so.size() + 1, {so + "\\a.wav", so + "\\b.wav"}},
    };
    for (const auto& c : cases) {
        g_dialog.result = c.result;
        g_dialog.fileOffset = static_cast<WORD>(c.offset);
        SendMessageA(window, WM_COMMAND, 40001, 0);
        EXPECT_EQ(loadedPaths(), c.paths);
        EXPECT_EQ(main->loader().record().parameter, 0) << "appended";
        ASSERT_TRUE(waitIdle());
    }
    EXPECT_EQ(g_dialog.request.Flags, DWORD{OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                                            OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT});
    EXPECT_GE(g_dialog.request.nMaxFile, 65536u);
    EXPECT_EQ(g_dialog.title, test::sjis("ファイルを追加する"));

    test::BoxReader boxes;
    g_dialog.result = "C:\\m\0"s;
    for (int i = 0; g_dialog.result.size() <= 70000; ++i)
        g_dialog.result += "track" + std::to_string(i) + ".wav" + "\0"s;
    SendMessageA(window, WM_COMMAND, 40001, 0);
    EXPECT_EQ(boxes.texts, Paths{test::sjis("選択されたファイルが多すぎます。")});
    g_dialog.answer = FALSE;  // cancelled: nothing said
    SendMessageA(window, WM_COMMAND, 40001, 0);
    EXPECT_EQ(boxes.texts.size(), 1u);
    EXPECT_FALSE(main->loader().busy());

    // During a load neither the add nor the open dialog opens.
    const int calls = g_dialog.calls;
    startHeldLoad();
    view().fileDialogs().addFiles();
    view().fileDialogs().openList();
    EXPECT_EQ(g_dialog.calls, calls);
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, TheOpenButtonReplacesTheListWithTheChosenFile) {
    start();
    useFakeDialogs();
    const std::string list = dir / "saved.pll";
    g_dialog.result = list + "\0"s;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1016, BN_CLICKED), 0);
    EXPECT_EQ(g_dialog.title, test::sjis("リストファイルを開く"));
    EXPECT_EQ(g_dialog.request.nMaxFile, 260u);
    EXPECT_EQ(loadedPaths(), Paths{list});
    EXPECT_EQ(main->loader().record().parameter, 1) << "replacing";
    EXPECT_TRUE(waitIdle());

    // A second start hands a file over while the dialog is open: it waits
    // for the dialog, and the chosen list is still opened.
    const std::string handed = dir / "handed.wav";
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), handed.c_str(), FALSE));
    g_dialog.whileOpen = [&] {
        EXPECT_TRUE(sendHandOver(window, handed.c_str(), 1000));
        test::settle(200);  // the dialog's own loop serves the window's messages
        EXPECT_FALSE(main->loader().busy()) << "a load started under the dialog";
        EXPECT_EQ(rows(), 0);
    };
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1016, BN_CLICKED), 0);
    EXPECT_EQ(loadedPaths(), Paths{list});
    EXPECT_EQ(main->loader().record().parameter, 1);
    EXPECT_TRUE(waitIdle());
    EXPECT_TRUE(test::pumpUntil(5000, [&] { return rows() == 1; })) << "the hand-over after it";
    EXPECT_EQ(loadedPaths(), Paths{handed});
    EXPECT_EQ(main->loader().record().parameter, 0);
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, SavingWritesTheListOrSaysItCouldNot) {
    start();
    useFakeDialogs();
    test::BoxReader boxes;
    SendMessageA(window, WM_COMMAND, 40002, 0);
    EXPECT_EQ(g_dialog.calls, 0) << "an empty list is not saved";

    const Paths music = loadCopies({"a.wav", "b.wav"});
    const std::string target = dir / "list.pll";
    g_dialog.result = target + "\0"s;
    SendMessageA(window, WM_COMMAND, 40002, 0);
    ASSERT_EQ(g_dialog.calls, 1);
    EXPECT_EQ(g_dialog.title, test::sjis("リストファイルを保存する"));
    EXPECT_STREQ(g_dialog.request.lpstrDefExt, "pll");
    PlaylistFileContents saved;
    ASSERT_EQ(readPlaylistFile(target.c_str(), saved), 1);
    ASSERT_EQ(saved.entries.size(), 2u);
    EXPECT_EQ(saved.entries[1].location, music[1]);
    EXPECT_TRUE(boxes.texts.empty());

    g_dialog.result = dir / "missing\\list.pll" + "\0"s;
    SendMessageA(window, WM_COMMAND, 40002, 0);
    EXPECT_EQ(boxes.texts, Paths{test::sjis("リストファイルを保存できませんでした。")});

    // A file handed over meanwhile is added once the dialog has closed; the
    // list saved is the one the user saw.
    g_dialog.result = target + "\0"s;
    g_dialog.whileOpen = [&] {
        EXPECT_TRUE(sendHandOver(window, music[0].c_str(), 1000));
        test::settle(200);
        EXPECT_FALSE(main->loader().busy()) << "a load started under the dialog";
    };
    SendMessageA(window, WM_COMMAND, 40002, 0);
    g_dialog.whileOpen = nullptr;
    ASSERT_EQ(readPlaylistFile(target.c_str(), saved), 1);
    EXPECT_EQ(saved.entries.size(), 2u);
    EXPECT_TRUE(test::pumpUntil(5000, [&] { return rows() == 3; }));
    EXPECT_TRUE(waitIdle());

    // During a load the entries still grow: the dialog does not open.
    startHeldLoad();
    SendMessageA(window, WM_COMMAND, 40002, 0);
    EXPECT_EQ(g_dialog.calls, 3);
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, TheRealAddDialogIsCentredAndReturnsEveryName) {
    start();
    const Paths music = loadCopies({"first.wav", "second.wav"});
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir.path().c_str());
    RECT where = {};
    std::thread user([&] {
        const std::string title = test::sjis("ファイルを追加する");
        HWND dialog = nullptr;
        for (int i = 0; i < 1500 && !(dialog && IsWindowVisible(dialog)); ++i, Sleep(20))
            dialog = FindWindowA("#32770", title.c_str());
        Sleep(200);
        GetWindowRect(dialog, &where);
        SetDlgItemTextA(dialog, cmb13, "\"first.wav\" \"second.wav\"");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    view().fileDialogs().addFiles();
    user.join();
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(loadedPaths(), music);
    // Centred as it came up; it grows a little once it has been placed.
    RECT owner = {};
    GetWindowRect(window, &owner);
    EXPECT_NEAR(where.left + where.right, owner.left + owner.right, 32);
    EXPECT_NEAR(where.top + where.bottom, owner.top + owner.bottom, 32);
    EXPECT_TRUE(waitIdle());
}

}  // namespace
}  // namespace tarnuvo
