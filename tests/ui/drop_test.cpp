// Files dropped on the window: folders, list files and music files in the
// shell's order, double-byte names whose second byte is "\" or "|", paths
// too long for a path buffer, and names the code page cannot show.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views_fixture.h"

namespace tarnuvo {
namespace {

using test::Views;
using Paths = std::vector<std::string>;

class Drop : public Views {
protected:
    void drop(HDROP files) {
        SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(files), 0);
    }

    std::string so = test::sjis("ソ");  // 0x83 0x5C
    std::string po = test::sjis("ポ");  // 0x83 0x7C
};

TEST_F(Drop, AFolderListFilesAndMusicFilesReachTheLoaderInOrder) {
    start();
    const std::string folder = dir / (so + "folder");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    Paths lists;
    for (const char* name : {"one.pll", "two.pll", "three.pll"}) {
        lists.push_back(dir / name);
        test::writeFile(lists.back(), "[Tarnuvolist]\r\nVer=1\r\nTracks=0\r\n");
    }
    drop(test::makeDrop({folder}));
    EXPECT_EQ(loadedPaths(), (Paths{folder}));
    EXPECT_TRUE(waitIdle());
    drop(test::makeDrop(lists));
    EXPECT_EQ(loadedPaths(), lists);
    EXPECT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 0);

    // Music files named with ソ and ポ, one inside a folder ending in ソ.
    const std::string inner = dir / so;
    ASSERT_TRUE(CreateDirectoryA(inner.c_str(), nullptr));
    const Paths music = {dir / (so + ".wav"), dir / (po + ".wav"), inner + "\\" + po + "a.wav"};
    for (const std::string& path : music)
        ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), path.c_str(), FALSE)) << path;
    const Paths mixed = {music[0], folder, music[1], lists[0], music[2]};
    drop(test::makeDrop(mixed));
    EXPECT_EQ(loadedPaths(), mixed);
    ASSERT_TRUE(waitIdle());
    // Every music file became a row of its own, none taken for an archive's member.
    ASSERT_EQ(rows(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::string(main->playlist.entryAt(i)->location), music[i]);
}

TEST_F(Drop, APathTooLongIsLeftOutNeverCut) {
    start();
    const std::string kept = dir / "kept.wav";
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), kept.c_str(), FALSE));
    // Cut to 259 bytes this would name the kept file's folder plus a prefix of it.
    std::string longPath = dir / "kept.wav";
    while (longPath.size() < 300) longPath += ".long";
    test::BoxReader boxes;
    drop(test::makeDrop({longPath, kept}));
    EXPECT_EQ(loadedPaths(), (Paths{kept}));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Drop, NamesTheCodePageCannotShowAreSkippedAndReportedOnce) {
    start();
    const std::wstring folder = test::wide(dir.path());
    const std::wstring lost1 = folder + L"\\\xD55C\xAE00.wav";  // Hangul: not in code page 932
    const std::wstring lost2 = folder + L"\\caf\x0101.wav";
    const std::string kept = dir / "kept.wav";
    for (const std::wstring& name : {lost1, lost2})
        ASSERT_TRUE(CopyFileW(test::wide(test::demoWav()).c_str(), name.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), kept.c_str(), FALSE));

    test::BoxReader boxes;
    drop(test::makeWideDrop({lost1, test::wide(kept), lost2}));
    EXPECT_EQ(loadedPaths(), (Paths{kept}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              test::sjis("名前を表示できないファイルは追加されませんでした。"));
    EXPECT_EQ(boxes.boxes[0].caption, "Tarnuvo");
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 1);

    // Only lost names: nothing is loaded, the user is told.
    const std::vector<std::string> before = loadedPaths();
    drop(test::makeWideDrop({lost1}));
    EXPECT_FALSE(main->loader.busy());
    EXPECT_EQ(loadedPaths(), before);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(Drop, ADropDuringALoadIsIgnored) {
    start();
    const std::string a = dir / "a.wav", b = dir / "b.wav";
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), a.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(test::demoWav().c_str(), b.c_str(), FALSE));
    main->startLoading({a}, 0);
    ASSERT_TRUE(main->loader.busy());
    drop(test::makeDrop({b}));
    EXPECT_EQ(loadedPaths(), (Paths{a}));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(rows(), 1);
}

}  // namespace
}  // namespace tarnuvo
