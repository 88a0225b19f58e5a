// The request record of the file dialogs.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <string>

#include "app/file_dialog.h"
#include "app_test_support.h"

namespace tarnuvo {
namespace {

// The NUL-separated pieces of a dialog filter, up to its double NUL.
std::vector<std::string> filterPieces(const char* filter) {
    std::vector<std::string> pieces;
    for (const char* p = filter; *p != '\0'; p += pieces.back().size() + 1) pieces.push_back(p);
    return pieces;
}

TEST(FileDialog, FilterBecomesPairsOfDescriptionAndPattern) {
    char filter[] = "A|*.a|B|*.b|";
    char file[kFileBufferSize] = "left over";
    OPENFILENAMEA request;
    initFileDialog(request, nullptr, filter, file, false);
    auto pieces = filterPieces(request.lpstrFilter);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], "A");
    EXPECT_EQ(pieces[1], "*.a");
    EXPECT_EQ(pieces[2], "B");
    EXPECT_EQ(pieces[3], "*.b");
    EXPECT_STREQ(file, "");
}

TEST(FileDialog, BarAsSecondByteOfACharacterIsNotASeparator) {
    // "ポ" is 0x83 0x7C in code page 932.
    std::string text = test::sjis("ポップス|*.wav;*.ogg|リスト|*.pll|");
    ASSERT_NE(text.find("\x83\x7C"), std::string::npos);
    std::vector<char> filter(text.begin(), text.end());
    filter.push_back('\0');
    char file[kFileBufferSize];
    OPENFILENAMEA request;
    initFileDialog(request, nullptr, filter.data(), file, false);
    auto pieces = filterPieces(request.lpstrFilter);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], test::sjis("ポップス"));
    EXPECT_EQ(pieces[1], "*.wav;*.ogg");
    EXPECT_EQ(pieces[2], test::sjis("リスト"));
    EXPECT_EQ(pieces[3], "*.pll");
}

TEST(FileDialog, OpenAndSaveRequests) {
    char filter[] = "L|*.pll|";
    char file[kFileBufferSize];
    HWND owner = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    OPENFILENAMEA request;
    request.lpstrTitle = "stale";
    initFileDialog(request, owner, filter, file, false);
    EXPECT_EQ(request.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
    EXPECT_EQ(request.hwndOwner, owner);
    EXPECT_EQ(request.lpstrFile, file);
    EXPECT_EQ(request.nMaxFile, 260u);
    EXPECT_EQ(request.Flags, 0x81804u);
    EXPECT_EQ(request.lpstrTitle, nullptr);  // the record was cleared
    EXPECT_EQ(request.nFilterIndex, 0u);

    initFileDialog(request, owner, filter, file, true);
    EXPECT_EQ(request.Flags, 0x80006u);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(request.lStructSize, 76u);
    }
}

}  // namespace
}  // namespace tarnuvo
