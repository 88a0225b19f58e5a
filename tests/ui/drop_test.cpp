// Files dropped on the window: folders, list files and music files in the
// shell's order, names whose second byte is "\" or "|", a path too long for
// a path buffer, names the code page cannot show, and a drop during a load.
#include <gtest/gtest.h>

#include "base/window_messages.h"
#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;
using Paths = std::vector<std::string>;

// Lost names go first: the paths after them must still come through.
void drop(HWND window, const Paths& paths, std::vector<std::wstring> lost = {}) {
    for (const std::string& p : paths) lost.push_back(test::wide(p));
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(test::makeDrop(lost)), 0);
}

TEST_F(Views, FoldersListFilesAndMusicFilesReachTheLoaderInOrder) {
    start();
    const std::string so = test::sjis("ソ"), po = test::sjis("ポ");  // 0x83 0x5C, 0x83 0x7C
    const std::string folder = dir / so;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const Paths lists = {dir / "1.pll", dir / "2.pll", dir / "3.pll"};
    for (const std::string& list : lists) test::writeFile(list, "[Tarnuvolist]\r\nVer=1\r\n");
    const Paths music = {dir / (so + ".wav"), dir / (po + ".wav"), folder + "\\" + po + ".wav"};
    for (const std::string& path : music)
        ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), path.c_str(), FALSE)) << path;
    const Paths mixed = {music[0], folder, music[1], lists[0], music[2]};
    for (const Paths& dropped : {Paths{folder}, lists, mixed}) {
        drop(window, dropped);
        EXPECT_EQ(loadedPaths(), dropped);
        ASSERT_TRUE(waitIdle());
    }
    // Each music file became a row, none taken for an archive's member.
    ASSERT_EQ(rows(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(main->playlist().entryAt(i)->location, music[i]);
}

TEST_F(Views, PathsTooLongOrWithLostNamesAreLeftOutAndADropDuringALoadIgnored) {
    start();
    const std::string kept = dir / "kept.wav";
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), kept.c_str(), FALSE));
    // Cut to 259 bytes this would be a path in the scratch folder.
    std::string longPath = kept;
    while (longPath.size() < 300) longPath += ".long";
    test::BoxReader boxes;
    drop(window, {longPath, kept});
    EXPECT_EQ(loadedPaths(), Paths{kept});
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(boxes.texts.empty());

    // Hangul and a Latin letter with a macron are not in code page 932.
    const std::wstring folder = test::wide(dir.path());
    const std::vector<std::wstring> lost = {folder + L"\\\xD55C.wav", folder + L"\\\x0101.wav"};
    for (const std::wstring& name : lost)
        ASSERT_TRUE(CopyFileW(test::wide(kept).c_str(), name.c_str(), FALSE));
    drop(window, {kept}, lost);
    EXPECT_EQ(loadedPaths(), Paths{kept});
    ASSERT_EQ(boxes.texts.size(), 1u) << "said once";
    EXPECT_EQ(boxes.texts[0], test::sjis("名前を表示できないファイルは追加されませんでした。"));
    EXPECT_EQ(boxes.captions[0], "Tarnuvo");
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 2);

    startHeldLoad();
    drop(window, {kept});
    EXPECT_EQ(loadedPaths(), Paths{dir / "held.wav"});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 3);
}

// A drop can come in before the end message of the load that just ended.
TEST_F(Views, ALoadStartedBeforeTheLastOnesEndMessageIsNotCut) {
    start();
    main->startLoading(Paths(100, test::demoWav()), 0);
    SendMessageA(window, kLoadFinishedMessage, 0, 0);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 100);
}

}  // namespace
}  // namespace tarnuvo
