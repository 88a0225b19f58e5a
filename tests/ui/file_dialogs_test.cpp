// The open, add and save dialogs: what they ask for, how a selection reaches
// the loader, the refusals during a load and the failures the user is told.
#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "playlist/playlist_file.h"
#include "views_fixture.h"

namespace tarnuvo {
namespace {

using namespace std::string_literals;
using test::g_dialog;
using test::Views;
using Paths = std::vector<std::string>;

constexpr DWORD kOpenFlags =
    OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

TEST_F(Views, TheAddDialogSplitsOneOrManyNames) {
    start();
    useFakeDialogs();
    g_dialog.result = "C:\\music\\a.wav\0\0"s;
    g_dialog.fileOffset = 9;
    main->addFilesDialog();
    ASSERT_EQ(g_dialog.calls, 1);
    EXPECT_EQ(g_dialog.request.Flags, kOpenFlags | OFN_ALLOWMULTISELECT);
    EXPECT_GE(g_dialog.request.nMaxFile, 65536u);
    EXPECT_EQ(g_dialog.request.hwndOwner, window);
    EXPECT_EQ(g_dialog.title, test::sjis("ファイルを追加する"));
    EXPECT_EQ(g_dialog.filter,
              test::sjis("対応ファイル|*.wav;*.ogg;*.pll;*.zip;*.rar;*.lzh;*.7z|"
                         "音楽ファイル (*.wav;*.ogg)|*.wav;*.ogg|リストファイル (*.pll)|*.pll|"
                         "アーカイブファイル (*.zip;*.rar;*.lzh;*.7z)|*.zip;*.rar;*.lzh;*.7z|"
                         "全てのファイル|*.*|"));
    EXPECT_EQ(loadedPaths(), (Paths{"C:\\music\\a.wav"}));
    EXPECT_EQ(main->loader.record().parameter, 0) << "appended";
    ASSERT_TRUE(waitIdle());

    // Three names in the root of a drive: one separator after the drive.
    g_dialog.result = "C:\\\0a.wav\0b.wav\0c.wav\0\0"s;
    g_dialog.fileOffset = 4;
    main->addFilesDialog();
    EXPECT_EQ(loadedPaths(), (Paths{"C:\\a.wav", "C:\\b.wav", "C:\\c.wav"}));
    ASSERT_TRUE(waitIdle());

    // A folder ending in ソ, whose second byte is "\".
    const std::string so = dir / test::sjis("ソ");
    ASSERT_TRUE(CreateDirectoryA(so.c_str(), nullptr));
    g_dialog.result = so + "\0a.wav\0b.wav\0c.wav\0\0"s;
    g_dialog.fileOffset = static_cast<WORD>(so.size() + 1);
    main->addFilesDialog();
    EXPECT_EQ(loadedPaths(), (Paths{so + "\\a.wav", so + "\\b.wav", so + "\\c.wav"}));
    ASSERT_TRUE(waitIdle());
}

TEST_F(Views, TheAddDialogTellsWhenTheSelectionIsTooLargeAndRefusesDuringALoad) {
    start();
    useFakeDialogs();
    test::BoxReader boxes;
    g_dialog.result = "C:\\m\0"s;
    for (int i = 0; g_dialog.result.size() <= 70000; ++i)
        g_dialog.result += "track" + std::to_string(i) + ".wav" + "\0"s;
    g_dialog.fileOffset = 5;
    main->addFilesDialog();
    EXPECT_FALSE(main->loader.busy());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, test::sjis("選択されたファイルが多すぎます。"));

    // Cancelled: nothing, and nothing said.
    g_dialog.answer = FALSE;
    g_dialog.error = 0;
    main->addFilesDialog();
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_FALSE(main->loader.busy());

    // During a load the dialog does not open at all.
    const std::string a = dir / "a.wav";
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), a.c_str(), FALSE));
    main->startLoading({a}, 0);
    ASSERT_TRUE(main->loader.busy());
    const int calls = g_dialog.calls;
    main->addFilesDialog();
    main->openListDialog();
    EXPECT_EQ(g_dialog.calls, calls);
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, TheOpenDialogReplacesTheListWithTheChosenFile) {
    start();
    useFakeDialogs();
    const std::string list = dir / "saved.pll";
    g_dialog.result = list + "\0"s;
    g_dialog.fileOffset = static_cast<WORD>(list.size() - 9);
    main->openListDialog();
    ASSERT_EQ(g_dialog.calls, 1);
    EXPECT_EQ(g_dialog.request.Flags, kOpenFlags);
    EXPECT_EQ(g_dialog.request.nMaxFile, 260u);
    EXPECT_EQ(g_dialog.title, test::sjis("リストファイルを開く"));
    EXPECT_EQ(g_dialog.filter, test::sjis("リストファイル (*.pll)|*.pll|全てのファイル|*.*|"));
    EXPECT_EQ(loadedPaths(), (Paths{list}));
    EXPECT_EQ(main->loader.record().parameter, 1) << "replacing";
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, SavingWritesTheListOrSaysItCouldNot) {
    start();
    useFakeDialogs();
    test::BoxReader boxes;
    main->saveListDialog();
    EXPECT_EQ(g_dialog.calls, 0) << "an empty list is not saved";

    const Paths music = loadCopies({"a.wav", "b.wav"});
    const std::string target = dir / "list.pll";
    g_dialog.result = target + "\0"s;
    main->saveListDialog();
    ASSERT_EQ(g_dialog.calls, 1);
    EXPECT_EQ(g_dialog.request.Flags, DWORD{OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT});
    EXPECT_STREQ(g_dialog.request.lpstrDefExt, "pll");
    EXPECT_EQ(g_dialog.title, test::sjis("リストファイルを保存する"));
    EXPECT_EQ(g_dialog.filter, test::sjis("リストファイル (*.pll)|*.pll|"));
    PlaylistFileContents saved;
    ASSERT_EQ(readPlaylistFile(target.c_str(), saved), 1);
    ASSERT_EQ(saved.entries.size(), 2u);
    for (size_t i = 0; i < 2; ++i) EXPECT_EQ(std::string(saved.entries[i].location), music[i]);
    EXPECT_TRUE(boxes.boxes.empty());

    // A folder that does not exist: the user is told.
    g_dialog.result = dir / "missing\\list.pll" + "\0"s;
    main->saveListDialog();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, test::sjis("リストファイルを保存できませんでした。"));

    // During a load the entries still grow: the dialog does not open.
    main->startLoading({music[0]}, 0);
    ASSERT_TRUE(main->loader.busy());
    const int calls = g_dialog.calls;
    main->saveListDialog();
    EXPECT_EQ(g_dialog.calls, calls);
    EXPECT_TRUE(waitIdle());
}

TEST_F(Views, TheMenuTheKeysTheToolbarAndTheOpenButtonReachTheDialogs) {
    start();
    useFakeDialogs();
    g_dialog.answer = FALSE;
    SendMessageA(window, WM_COMMAND, 40001, 0);
    EXPECT_EQ(g_dialog.calls, 1);
    EXPECT_EQ(g_dialog.title, test::sjis("ファイルを追加する"));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1016, BN_CLICKED), 0);
    EXPECT_EQ(g_dialog.calls, 2);
    EXPECT_EQ(g_dialog.title, test::sjis("リストファイルを開く"));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(1016, BN_DOUBLECLICKED), 0);
    EXPECT_EQ(g_dialog.calls, 2) << "a button acts on its click only";
    MSG key = {};
    key.hwnd = item(1000);
    key.message = WM_KEYDOWN;
    key.wParam = 'O';
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(main->translateAccelerator(key), 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(g_dialog.calls, 3) << "Ctrl+O";
    loadCopies({"a.wav"});
    SendMessageA(window, WM_COMMAND, 40002, 0);
    EXPECT_EQ(g_dialog.calls, 4);
    EXPECT_EQ(g_dialog.title, test::sjis("リストファイルを保存する"));
}

// The real dialog: centred over the window; two names typed as the user
// types them come back as two paths.
struct DialogDriver {
    std::string title;
    std::string names;
    std::atomic<bool> found{false};
    RECT where = {};

    static DWORD WINAPI run(void* argument) {
        auto* self = static_cast<DialogDriver*>(argument);
        for (int i = 0; i < 1500; ++i) {
            HWND dialog = FindWindowA("#32770", self->title.c_str());
            if (dialog && IsWindowVisible(dialog)) {
                Sleep(200);
                GetWindowRect(dialog, &self->where);
                self->found = true;
                // The name box of the explorer-style dialog.
                SendMessageA(GetDlgItem(dialog, cmb13), WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(self->names.c_str()));
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                return 0;
            }
            Sleep(20);
        }
        return 1;
    }
};

TEST_F(Views, TheRealAddDialogIsCentredAndReturnsEveryName) {
    start();
    const Paths music = {dir / "first.wav", dir / "second.wav"};
    for (const std::string& path : music)
        ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), path.c_str(), FALSE));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir.path().c_str());

    DialogDriver driver;
    driver.title = test::sjis("ファイルを追加する");
    driver.names = "\"first.wav\" \"second.wav\"";
    UniqueHandle thread(CreateThread(nullptr, 0, DialogDriver::run, &driver, 0, nullptr));
    main->addFilesDialog();
    WaitForSingleObject(thread.get(), 30000);
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(driver.found);
    RECT owner = {};
    GetWindowRect(window, &owner);
    // Centred as it came up; it grows a little once it has been placed.
    EXPECT_NEAR((driver.where.left + driver.where.right) / 2, (owner.left + owner.right) / 2, 16);
    EXPECT_NEAR((driver.where.top + driver.where.bottom) / 2, (owner.top + owner.bottom) / 2, 16);
    EXPECT_EQ(loadedPaths(), music);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 2);
}

}  // namespace
}  // namespace tarnuvo
