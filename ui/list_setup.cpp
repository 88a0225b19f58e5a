// The list pane as set-up prepares it: the toolbar with its commands, and
// the list view's styles, columns and font.
#include <windows.h>
#include <commctrl.h>

#include <iterator>

#include "app/window_parts.h"
#include "app/window_helpers.h"
#include "resources/resource_ids.h"
#include "ui/image_strip.h"
#include "ui/list_pane.h"

namespace tarnuvo {
namespace {

constexpr DWORD kToolbarStyle =
    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE;  // 0x50000904
constexpr COLORREF kToolbarMask = RGB(0, 255, 0);

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

void ListPane::createToolbar() {
    const HWND window = frame_.window();
    const HINSTANCE instance = frame_.instance();
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, kToolbarStyle, 0, 0, 0, 0, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)), instance,
                               nullptr);
    toolbar_ = bar;
    if (!bar) return;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    toolbarImages_.reset(loadImageStrip(instance, IDB_TOOLBAR, kToolbarMask));
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_.get()));
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
    if (HWND etched = GetDlgItem(window, IDC_ETCHED_LINE)) GetWindowRect(etched, &line);
    toolbarHeight_ = largest.cy + (line.bottom - line.top);
}

void ListPane::setUp() {
    AppEnvironment& env = frame_.environment();
    const HWND window = frame_.window();
    DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
    if (env.gridLine) extended |= LVS_EX_GRIDLINES;
    SendMessageA(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    setMenuCheck(GetMenu(window), IDM_GRID_LINES, env.gridLine != 0);
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
        LoadStringA(frame_.instance(), c.text, caption, sizeof caption);
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = c.format;
        column.cx = c.width;
        column.pszText = caption;
        column.iSubItem = c.subItem;
        SendMessageA(listView_, LVM_INSERTCOLUMNA, c.position, reinterpret_cast<LPARAM>(&column));
    }
    env.applyColumns(listView_);
    SendMessageA(listView_, WM_SETFONT, reinterpret_cast<WPARAM>(env.listFont.get()), TRUE);
}

}  // namespace tarnuvo
