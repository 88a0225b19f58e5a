// The resources as the program reads them: every menu text and string through
// the A functions in code page 932, the accelerators, both dialog templates
// parsed from their bytes, the images and the manifest.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "base/handles.h"
#include "resources/resource_ids.h"

namespace tarnuvo {
namespace {

using test::sjis;

HINSTANCE module() {
    return GetModuleHandleA(nullptr);
}

class Resources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "the tests run in code page 932"; }
};

// One menu item as expected: a separator, a popup with its items, or a command.
struct Item {
    int id;  // -1 separator, 0 popup
    const char* text;
    std::vector<Item> items = {};
};

void expectMenu(HMENU menu, const std::vector<Item>& expected, const std::string& where) {
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(expected.size())) << where;
    for (size_t i = 0; i < expected.size(); ++i) {
        const Item& want = expected[i];
        UINT position = static_cast<UINT>(i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoA(menu, position, TRUE, &info));
        std::string at = where + " item " + std::to_string(i);
        if (want.id == -1) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << at;
            continue;
        }
        char text[512] = {};
        GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ(std::string(text), sjis(want.text)) << at;
        if (want.id == 0) {
            ASSERT_NE(info.hSubMenu, nullptr) << at;
            expectMenu(info.hSubMenu, want.items, at);
        } else {
            EXPECT_EQ(info.hSubMenu, nullptr) << at;
            EXPECT_EQ(info.wID, static_cast<UINT>(want.id)) << at;
        }
    }
}

TEST_F(Resources, MainMenuTextsAndIds) {
    const std::vector<Item> expected = {
        {0,
         "ファイル(&F)",
         {{40000, "リストを開く(&O)...\tCtrl+O"},
          {40001, "追加(&A)..."},
          {40002, "リストの保存(&S)...\tCtrl+S"},
          {-1, ""},
          {40005, "削除(&D)\tDEL"},
          {40006, "クリア(&C)"},
          {-1, ""},
          {40010, "プロパティ(&P)..."},
          {-1, ""},
          {40050, "終了(&X)"}}},
        {0,
         "表示(&V)",
         {{40100, "プレイリスト(&L)\tL"},
          {40101, "グリッドライン(&G)"},
          {-1, ""},
          {40110, "経過時間(&T)"},
          {40111, "シーク時間(&S)"},
          {40112, "残り時間(&R)"},
          {-1, ""},
          {40150, "常に最前面に表示(&A)"}}},
        {0,
         "設定(&O)",
         {{40200, "単曲再生(&S)"},
          {40201, "単曲リピート(&R)"},
          {40202, "全曲リピート(&A)"},
          {40203, "ランダム再生(&R)"},
          {-1, ""},
          {40210, "ループ範囲を無視(&L)"},
          {40220, "ループ後にフェードアウト(&F)"},
          {40221, "フェード 5秒(&5)"},
          {40222, "フェード 10秒(&1)"},
          {40223, "フェード 20秒(&2)"},
          {40160, "waveOutを使用しない(&W)"}}},
        {0,
         "ヘルプ(&H)",
         {{40501, "mp3infp情報(&M)..."}, {-1, ""}, {40500, "バージョン情報(&A)..."}}},
    };
    UniqueMenu menu(LoadMenuA(module(), MAKEINTRESOURCEA(100)));
    ASSERT_NE(menu.get(), nullptr);
    expectMenu(menu.get(), expected, "menu 100");
    // The bytes of 表示 end in 0x5C, which a code-page-932 script reads as an escape.
    EXPECT_EQ(sjis("表").back(), '\x5C');
}

TEST_F(Resources, TrayMenuTextsAndIds) {
    const std::vector<Item> expected = {
        {0,
         "Tray",
         {{41000, "ウィンドウ表示(&S)"},
          {-1, ""},
          {41010, "停止(&S)"},
          {41011, "一時停止(&P)"},
          {41012, "再生(&L)"},
          {-1, ""},
          {41021, "前の曲へ(&R)"},
          {41020, "次の曲へ(&N)"},
          {41022, "ランダム(&A)"},
          {-1, ""},
          {40050, "終了(&X)"}}},
    };
    UniqueMenu menu(LoadMenuA(module(), MAKEINTRESOURCEA(110)));
    ASSERT_NE(menu.get(), nullptr);
    expectMenu(menu.get(), expected, "menu 110");
}

TEST_F(Resources, EveryStringInCodePage932) {
    const struct {
        UINT id;
        const char* text;
    } strings[] = {
        {4, "mp3infp情報"},
        {5, "mp3infpはインストールされていません。"},
        {6, "mp3infp Ver.%x.%02x がインストールされています。"},
        {10, "データ読み込み中..."},
        {11, "ファイルが開けませんでした。"},
        {12, "リストファイルを保存できませんでした。"},
        {13, "選択されたファイルが多すぎます。"},
        {14, "名前を表示できないファイルは追加されませんでした。"},
        {15, "起動中のTarnuvoにファイルを渡せませんでした。"},
        {50,
         "対応ファイル|*.wav;*.ogg;*.mp3;*.flac;*.opus;*.pll;*.zip;*.rar;*.lzh;*.7z|音楽ファイル "
         "(*.wav;*.ogg;*.mp3;*.flac;*.opus)|*.wav;*.ogg;*.mp3;*.flac;*.opus|リストファイル "
         "(*.pll)|*.pll|アーカイブファイル "
         "(*.zip;*.rar;*.lzh;*.7z)|*.zip;*.rar;*.lzh;*.7z|全てのファイル|*.*|"},
        {51, "ファイルを追加する"},
        {52, "リストファイル (*.pll)|*.pll|全てのファイル|*.*|"},
        {53, "リストファイルを開く"},
        {54, "リストファイル (*.pll)|*.pll|"},
        {55, "リストファイルを保存する"},
        {1010, "再生"},
        {1011, "一時停止"},
        {1012, "停止"},
        {1013, "前の曲へ"},
        {1014, "次の曲へ"},
        {1015, "ランダム"},
        {1016, "ファイルを開く"},
        {5000, "Title"},
        {5001, "Time"},
        {5002, "Loop"},
        {5003, "Artist"},
        {6000, "waveOut音量"},
        {6001, "DirectShow音量"},
        {40000, "リストを開く (Ctrl+O)"},
        {40001, "ファイルの追加"},
        {40002, "リストの保存 (Ctrl+S)"},
        {40005, "削除 (DEL)"},
        {40006, "リストのクリア"},
        {40010, "ファイルの情報"},
        {40020, "上へ移動 (Alt+Up)"},
        {40021, "下へ移動 (Alt+Down)"},
        {40500, "バージョン情報"},
    };
    for (const auto& s : strings) {
        char text[4096] = {};
        int length = LoadStringA(module(), s.id, text, sizeof text);
        EXPECT_EQ(std::string(text, static_cast<size_t>(length)), sjis(s.text))
            << "string " << s.id;
    }
    // Nothing else sits in the blocks that hold these ids.
    char text[64];
    for (UINT id : {1u, 7u, 16u, 49u, 56u, 1017u, 5004u, 6002u, 40003u, 40501u})
        EXPECT_EQ(LoadStringA(module(), id, text, sizeof text), 0) << "string " << id;
}

TEST_F(Resources, AcceleratorTable) {
    HACCEL table = LoadAcceleratorsA(module(), MAKEINTRESOURCEA(100));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    int n = CopyAcceleratorTableA(table, entries, 16);
    const BYTE key = FVIRTKEY | FNOINVERT;
    const ACCEL expected[] = {
        {key, 'F', 40190},
        {key, 'L', 40100},
        {static_cast<BYTE>(key | FCONTROL), 'O', 40000},
        {static_cast<BYTE>(key | FCONTROL), 'S', 40002},
        {key, VK_DELETE, 40005},
        {static_cast<BYTE>(key | FALT), VK_DOWN, 40021},
        {static_cast<BYTE>(key | FALT), VK_RETURN, 40190},
        {key, VK_SPACE, 41011},
        {static_cast<BYTE>(key | FALT), VK_UP, 40020},
    };
    ASSERT_EQ(n, 9);
    for (int i = 0; i < n; ++i) {
        // The table marks its last entry with 0x80, which the copy may keep.
        EXPECT_EQ(entries[i].fVirt & 0x7F, expected[i].fVirt) << "entry " << i;
        EXPECT_EQ(entries[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(entries[i].cmd, expected[i].cmd) << "entry " << i;
    }
}

// A dialog template read from its bytes (the extended form).
struct TemplateControl {
    std::string className;
    std::wstring text;
    DWORD style = 0;
    DWORD id = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};
struct DialogTemplate {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int menu = 0;
    std::wstring caption;
    int pointSize = 0;
    int charset = 0;
    std::wstring face;
    std::vector<TemplateControl> controls;
};

class TemplateReader {
public:
    TemplateReader(const BYTE* bytes, size_t size) : p_(bytes), end_(bytes + size) {}
    template <typename T>
    T take() {
        T value{};
        if (p_ + sizeof(T) <= end_) std::memcpy(&value, p_, sizeof(T));
        p_ += sizeof(T);
        return value;
    }
    std::wstring text() {
        std::wstring s;
        while (WORD c = take<WORD>()) s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    // A name or ordinal: 0xFFFF and a number, or text.
    std::wstring nameOrOrdinal(int& ordinal) {
        ordinal = -1;
        WORD first = take<WORD>();
        if (first == 0xFFFF) {
            ordinal = take<WORD>();
            return L"";
        }
        if (first == 0) return L"";
        std::wstring s(1, static_cast<wchar_t>(first));
        return s + text();
    }
    void alignDword(const BYTE* base) {
        while ((p_ - base) % 4) ++p_;
    }
    const BYTE* at() const { return p_; }

private:
    const BYTE* p_;
    const BYTE* end_;
};

// Class names compare without case; the resource compiler writes them in capitals.
std::string upperNarrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(static_cast<char>(c >= L'a' && c <= L'z' ? c - 32 : c));
    return s;
}

DialogTemplate readTemplate(int id) {
    DialogTemplate out;
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!found) return out;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    TemplateReader r(base, SizeofResource(module(), found));
    EXPECT_EQ(r.take<WORD>(), 1);       // version of the extended form
    EXPECT_EQ(r.take<WORD>(), 0xFFFF);  // its signature
    r.take<DWORD>();                    // help id
    r.take<DWORD>();                    // extended style
    out.style = r.take<DWORD>();
    WORD count = r.take<WORD>();
    out.x = r.take<short>();
    out.y = r.take<short>();
    out.cx = r.take<short>();
    out.cy = r.take<short>();
    r.nameOrOrdinal(out.menu);
    int classOrdinal;
    r.nameOrOrdinal(classOrdinal);
    out.caption = r.text();
    if (out.style & DS_SETFONT) {
        out.pointSize = r.take<WORD>();
        r.take<WORD>();  // weight
        r.take<BYTE>();  // italic
        out.charset = r.take<BYTE>();
        out.face = r.text();
    }
    for (WORD i = 0; i < count; ++i) {
        r.alignDword(base);
        TemplateControl c;
        r.take<DWORD>();  // help id
        r.take<DWORD>();  // extended style
        c.style = r.take<DWORD>();
        c.x = r.take<short>();
        c.y = r.take<short>();
        c.cx = r.take<short>();
        c.cy = r.take<short>();
        c.id = r.take<DWORD>();
        int atom;
        std::wstring name = r.nameOrOrdinal(atom);
        const char* atoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
        c.className = atom >= 0x80 && atom <= 0x85 ? atoms[atom - 0x80] : upperNarrow(name);
        int textOrdinal;
        c.text = r.nameOrOrdinal(textOrdinal);
        if (textOrdinal >= 0) c.text = L"#" + std::to_wstring(textOrdinal);
        WORD extra = r.take<WORD>();
        for (WORD b = 0; b < extra; ++b) r.take<BYTE>();
        out.controls.push_back(c);
    }
    return out;
}

std::wstring wide(const char* utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, w.data(), n);
    w.resize(w.size() - 1);
    return w;
}

TEST_F(Resources, MainDialogTemplate) {
    DialogTemplate d = readTemplate(100);
    EXPECT_EQ(d.style & ~static_cast<DWORD>(DS_SETFONT),
              static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                 WS_MINIMIZEBOX | WS_CLIPCHILDREN));
    EXPECT_EQ(d.cx, 230);
    EXPECT_EQ(d.cy, 201);
    EXPECT_EQ(d.menu, 100);
    EXPECT_EQ(d.pointSize, 9);
    EXPECT_EQ(d.face, wide("ＭＳ Ｐゴシック"));
    EXPECT_EQ(d.charset, SHIFTJIS_CHARSET);

    const DWORD base = WS_CHILD | WS_VISIBLE;
    const DWORD button = base | WS_TABSTOP | BS_ICON;
    const DWORD slider = base | WS_TABSTOP | TBS_BOTH | TBS_NOTICKS;
    const struct {
        DWORD id;
        const char* className;
        DWORD style;
        short x, y, cx, cy;
    } expected[] = {
        {1030, "STATIC", base | SS_ETCHEDHORZ, 0, 0, 230, 1},
        {1000, "SYSLISTVIEW32",
         base | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
             LVS_NOSORTHEADER,
         5, 5, 220, 91},
        {1001, "STATIC", base | WS_GROUP | SS_NOTIFY, 5, 101, 220, 54},
        {1002, "MSCTLS_TRACKBAR32", slider | TBS_ENABLESELRANGE, 5, 158, 220, 19},
        {1021, "STATIC", base | WS_GROUP | SS_RIGHT | SS_CENTERIMAGE, 113, 180, 52, 16},
        {1010, "BUTTON", button, 5, 180, 16, 16},
        {1011, "BUTTON", button, 21, 180, 16, 16},
        {1012, "BUTTON", button, 37, 180, 16, 16},
        {1013, "BUTTON", button, 53, 180, 16, 16},
        {1014, "BUTTON", button, 69, 180, 16, 16},
        {1015, "BUTTON", button, 85, 180, 16, 16},
        {1016, "BUTTON", button, 101, 180, 16, 16},
        {1020, "MSCTLS_TRACKBAR32", slider, 165, 182, 60, 12},
        {1040, "STATIC", WS_CHILD | WS_GROUP, 127, 180, 16, 16},
    };
    ASSERT_EQ(d.controls.size(), std::size(expected));
    for (size_t i = 0; i < d.controls.size(); ++i) {
        const TemplateControl& c = d.controls[i];
        const auto& want = expected[i];
        EXPECT_EQ(c.id, want.id) << "control " << i;
        EXPECT_EQ(c.className, want.className) << "control " << want.id;
        EXPECT_EQ(c.style, want.style) << "control " << want.id;
        EXPECT_EQ(c.x, want.x) << "control " << want.id;
        EXPECT_EQ(c.y, want.y) << "control " << want.id;
        EXPECT_EQ(c.cx, want.cx) << "control " << want.id;
        EXPECT_EQ(c.cy, want.cy) << "control " << want.id;
    }
    EXPECT_EQ(d.controls[4].text, wide("waveOut音量"));
    // The label overlaps the open button; without the notify style it takes no clicks.
    EXPECT_EQ(d.controls[4].style & SS_NOTIFY, 0u);
}

TEST_F(Resources, VersionDialogTemplate) {
    DialogTemplate d = readTemplate(200);
    EXPECT_EQ(d.caption, wide("バージョン情報"));
    EXPECT_TRUE(d.style & WS_CAPTION);
    ASSERT_EQ(d.controls.size(), 3u);
    EXPECT_EQ(d.controls[0].className, "STATIC");
    EXPECT_EQ(d.controls[0].style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_EQ(d.controls[0].text, L"#100");
    EXPECT_EQ(d.controls[1].text, L"Tarnuvo Ver.0.2a");
    EXPECT_EQ(d.controls[2].className, "BUTTON");
    EXPECT_EQ(d.controls[2].id, static_cast<DWORD>(IDOK));
    EXPECT_EQ(d.controls[2].text, L"OK");
}

// The bitmap resource as stored: a 16-colour DIB.
struct StoredBitmap {
    BITMAPINFOHEADER header = {};
    std::vector<RGBQUAD> palette;
    std::vector<BYTE> bits;
    // The colour of a pixel, as 0x00RRGGBB.
    DWORD at(int x, int y) const {
        int stride = ((header.biWidth * 4 + 31) / 32) * 4;
        int row = header.biHeight - 1 - y;
        BYTE pair = bits[static_cast<size_t>(row * stride + x / 2)];
        BYTE index = x % 2 ? pair & 0x0F : pair >> 4;
        const RGBQUAD& q = palette[index];
        return (static_cast<DWORD>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    }
};

StoredBitmap storedBitmap(int id) {
    StoredBitmap out;
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    if (!found) return out;
    const BYTE* p = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
    std::memcpy(&out.header, p, sizeof out.header);
    const RGBQUAD* colours = reinterpret_cast<const RGBQUAD*>(p + out.header.biSize);
    out.palette.assign(colours, colours + 16);
    const BYTE* bits = reinterpret_cast<const BYTE*>(colours + 16);
    out.bits.assign(bits, p + SizeofResource(module(), found));
    return out;
}

TEST_F(Resources, BitmapsAreSixteenColourStripsOfGlyphsOnTheirMaskColour) {
    const struct {
        int id;
        int width;
        DWORD mask;
    } bitmaps[] = {{500, 112, 0xC0C0C0}, {501, 144, 0x00FF00}, {502, 32, 0x00FF00}};
    for (const auto& b : bitmaps) {
        StoredBitmap bmp = storedBitmap(b.id);
        ASSERT_EQ(bmp.header.biWidth, b.width) << b.id;
        ASSERT_EQ(bmp.header.biHeight, 16) << b.id;
        EXPECT_EQ(bmp.header.biBitCount, 4) << b.id;
        ASSERT_GE(bmp.bits.size(), static_cast<size_t>(16 * ((b.width * 4 + 31) / 32) * 4));
        for (int cell = 0; cell < b.width / 16; ++cell) {
            int glyph = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) glyph += bmp.at(cell * 16 + x, y) != b.mask;
            EXPECT_EQ(bmp.at(cell * 16, 0), b.mask) << b.id << " cell " << cell;
            EXPECT_GT(glyph, 12) << b.id << " cell " << cell << " is empty";
            EXPECT_LT(glyph, 256) << b.id << " cell " << cell << " has no transparent part";
        }
        // Loaded the way the image lists load it.
        HBITMAP loaded = static_cast<HBITMAP>(
            LoadImageA(module(), MAKEINTRESOURCEA(b.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(loaded, nullptr) << b.id;
        DIBSECTION dib = {};
        ASSERT_EQ(GetObjectA(loaded, sizeof dib, &dib), static_cast<int>(sizeof dib));
        EXPECT_EQ(dib.dsBmih.biBitCount, 4) << b.id;
        DeleteObject(loaded);
    }
}

TEST_F(Resources, ProgramIconAtBothSizes) {
    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(module(), MAKEINTRESOURCEA(100), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask = {};
        GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, size);
        DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
}

TEST_F(Resources, ManifestAsksForCommonControlsSixAsInvokerWithoutDpiAwareness) {
    HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(found, nullptr);
    const char* p = static_cast<const char*>(LockResource(LoadResource(module(), found)));
    std::string manifest(p, SizeofResource(module(), found));
    size_t controls = manifest.find("name=\"Microsoft.Windows.Common-Controls\"");
    ASSERT_NE(controls, std::string::npos);
    size_t end = manifest.find("/>", controls);
    std::string identity = manifest.substr(controls, end - controls);
    EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(identity.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
}

}  // namespace
}  // namespace tarnuvo
