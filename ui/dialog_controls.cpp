// The controls of the main dialog as set-up prepares them: handles and
// layout records, the toolbar, the list view's columns and the
// transport buttons' icons.
#include <windows.h>
#include <commctrl.h>

#include <iterator>

#include "app/main_window.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"

namespace tarnuvo {
namespace {

constexpr DWORD kToolbarStyle =
    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE;  // 0x50000904
constexpr COLORREF kToolbarMask = RGB(0, 255, 0);
constexpr COLORREF kButtonMask = RGB(192, 192, 192);
constexpr int kImageSize = 16;
constexpr int kImageGrowth = 10;

HIMAGELIST loadImageStrip(HINSTANCE module, int id, COLORREF mask) {
    return ImageList_LoadImageA(module, MAKEINTRESOURCEA(id), kImageSize, kImageGrowth, mask,
                                IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

TBBUTTON toolbarButton(int image, int command, bool enabled) {
    TBBUTTON b = {};
    b.iBitmap = image;
    b.idCommand = command;
    b.fsState = enabled ? TBSTATE_ENABLED : 0;
    b.fsStyle = BTNS_BUTTON;
    return b;
}

TBBUTTON toolbarSeparator() {
    TBBUTTON b = {};
    b.fsStyle = BTNS_SEP;
    return b;
}

}  // namespace

void MainWindow::bindControls() {
    etchedLine = GetDlgItem(window_, IDC_ETCHED_LINE);
    listView = GetDlgItem(window_, IDC_PLAYLIST);
    HWND infoPanel = GetDlgItem(window_, IDC_INFO_PANEL);
    HWND seekSlider = GetDlgItem(window_, IDC_SEEK_SLIDER);
    HWND volumeSlider = GetDlgItem(window_, IDC_VOLUME_SLIDER);
    HWND volumeLabel = GetDlgItem(window_, IDC_VOLUME_LABEL);
    videoArea = GetDlgItem(window_, IDC_VIDEO_AREA);
    for (int32_t i = 0; i < kButtonCount; ++i) buttons[i] = GetDlgItem(window_, IDC_PLAY + i);
    EnableWindow(seekSlider, FALSE);
    HWND controls[kLayoutEntries] = {listView, infoPanel, seekSlider, volumeSlider, volumeLabel};
    for (int32_t i = 0; i < kButtonCount; ++i) controls[LayoutFirstButton + i] = buttons[i];
    for (int32_t slot = 0; slot < kLayoutEntries; ++slot) {
        layoutTable[slot].control = controls[slot];
        layoutTable[slot].parent = window_;
        refreshLayoutEntry(slot);
    }
}

HWND MainWindow::createToolbar() {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, kToolbarStyle, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)),
                               instance_, nullptr);
    if (!bar) return nullptr;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    toolbarImages.reset(loadImageStrip(instance_, IDB_TOOLBAR, kToolbarMask));
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages.get()));
    const TBBUTTON items[] = {
        toolbarButton(0, IDM_CLEAR, false),
        toolbarButton(1, IDM_ADD_FILES, true),
        toolbarButton(2, IDM_OPEN_LIST, true),
        toolbarButton(3, IDM_SAVE_LIST, false),
        toolbarSeparator(),
        toolbarButton(4, IDM_MOVE_UP, false),
        toolbarButton(5, IDM_MOVE_DOWN, false),
        toolbarButton(6, IDM_DELETE, false),
        toolbarSeparator(),
        toolbarButton(7, IDM_PROPERTIES, false),
        toolbarSeparator(),
        toolbarButton(8, IDM_VERSION, true),
        toolbarSeparator(),
    };
    SendMessageA(bar, TB_ADDBUTTONSA, std::size(items), reinterpret_cast<LPARAM>(items));
    SIZE largest = {};
    SendMessageA(bar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&largest));
    RECT line = {};
    if (etchedLine) GetWindowRect(etchedLine, &line);
    toolbarHeight = largest.cy + (line.bottom - line.top);
    return bar;
}

void MainWindow::setupListView() {
    DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
    if (env_.gridLine) extended |= LVS_EX_GRIDLINES;
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    setMenuCheck(GetMenu(window_), IDM_GRID_LINES, env_.gridLine != 0);
    // Inserted so that the display order is Title, Time, Loop, Artist.
    const struct {
        UINT text;
        int format;
        int width;
        int subItem;
        int position;
    } columns[] = {
        {IDS_COLUMN_TITLE, LVCFMT_LEFT, 150, 0, 0},
        {IDS_COLUMN_ARTIST, LVCFMT_LEFT, 100, 3, 3},
        {IDS_COLUMN_TIME, LVCFMT_RIGHT, 60, 1, 1},
        {IDS_COLUMN_LOOP, LVCFMT_CENTER, 40, 2, 2},
    };
    for (const auto& c : columns) {
        char caption[64] = {};
        LoadStringA(instance_, c.text, caption, sizeof caption);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = c.format;
        column.cx = c.width;
        column.pszText = caption;
        column.iSubItem = c.subItem;
        SendMessageA(listView, LVM_INSERTCOLUMNA, c.position, reinterpret_cast<LPARAM>(&column));
    }
    env_.applyColumns(listView);
    SendMessageA(listView, WM_SETFONT, reinterpret_cast<WPARAM>(env_.listFont.get()), TRUE);
}

void MainWindow::setupButtons() {
    buttonImages.reset(loadImageStrip(instance_, IDB_BUTTONS, kButtonMask));
    for (int32_t i = 0; i < kButtonCount; ++i) {
        if (buttonImages)
            buttonIcons[i].reset(ImageList_GetIcon(buttonImages.get(), i, ILD_TRANSPARENT));
        SendMessageA(buttons[i], BM_SETIMAGE, IMAGE_ICON,
                     reinterpret_cast<LPARAM>(buttonIcons[i].get()));
    }
    EnableWindow(buttons[0], TRUE);
    EnableWindow(buttons[1], FALSE);
    EnableWindow(buttons[2], FALSE);
}

void MainWindow::ownerDrawButton(HWND button) {
    LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
    SetWindowLongPtrA(button, GWL_STYLE, style | BS_OWNERDRAW);
}

}  // namespace tarnuvo
