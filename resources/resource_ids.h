// Resource, control and command ids, shared by the resource script and the
// program (macros, because the resource compiler reads this file too).
#pragma once

// Templates, menus and images.
#define IDD_MAIN 100
#define IDD_VERSION 200
#define IDR_MAIN_MENU 100
#define IDR_TRAY_MENU 110
#define IDR_ACCELERATORS 100
#define IDI_PROGRAM 100
#define IDB_BUTTONS 500
#define IDB_TOOLBAR 501
#define IDB_TRAY 502

// Controls of the main dialog, in template order, and the toolbar.
#define IDC_ETCHED_LINE 1030
#define IDC_PLAYLIST 1000
#define IDC_INFO_PANEL 1001
#define IDC_SEEK_SLIDER 1002
#define IDC_VOLUME_LABEL 1021
#define IDC_PLAY 1010
#define IDC_PAUSE 1011
#define IDC_STOP 1012
#define IDC_PREVIOUS 1013
#define IDC_NEXT 1014
#define IDC_RANDOM 1015
#define IDC_OPEN 1016
#define IDC_VOLUME_SLIDER 1020
#define IDC_VIDEO_AREA 1040
#define IDC_TOOLBAR 1500
#define IDC_VERSION_TEXT 1100

// Commands of the menus, the accelerators and the toolbar.
#define IDM_OPEN_LIST 40000
#define IDM_ADD_FILES 40001
#define IDM_SAVE_LIST 40002
#define IDM_DELETE 40005
#define IDM_CLEAR 40006
#define IDM_PROPERTIES 40010
#define IDM_MOVE_UP 40020
#define IDM_MOVE_DOWN 40021
#define IDM_EXIT 40050
#define IDM_SHOW_LIST 40100
#define IDM_GRID_LINES 40101
#define IDM_TIME_ELAPSED 40110
#define IDM_TIME_SEEK 40111
#define IDM_TIME_REMAINING 40112
#define IDM_ALWAYS_ON_TOP 40150
#define IDM_NO_WAVEOUT 40160
#define IDM_FULL_SCREEN 40190
#define IDM_MODE_SINGLE 40200
#define IDM_MODE_REPEAT_ONE 40201
#define IDM_MODE_REPEAT_ALL 40202
#define IDM_MODE_RANDOM 40203
#define IDM_LOOP_IGNORE 40210
#define IDM_FADE_OUT 40220
#define IDM_FADE_5S 40221
#define IDM_FADE_10S 40222
#define IDM_FADE_20S 40223
#define IDM_VERSION 40500
#define IDM_MP3INFP 40501
#define IDM_TRAY_SHOW 41000
#define IDM_TRAY_STOP 41010
#define IDM_TRAY_PAUSE 41011
#define IDM_TRAY_PLAY 41012
#define IDM_TRAY_NEXT 41020
#define IDM_TRAY_PREVIOUS 41021
#define IDM_TRAY_RANDOM 41022
#define IDM_JUMP_FIRST 45000
#define IDM_JUMP_LAST 45100

// The string table; the tooltip of a button or toolbar command is the string
// whose id is the control's or the command's.
#define IDS_MP3INFP_CAPTION 4
#define IDS_MP3INFP_MISSING 5
#define IDS_MP3INFP_VERSION 6
#define IDS_LOADING 10
#define IDS_OPEN_FAILED 11
#define IDS_SAVE_FAILED 12
#define IDS_TOO_MANY_FILES 13
#define IDS_NAMES_NOT_SHOWN 14
#define IDS_HAND_OVER_FAILED 15
#define IDS_ADD_FILTER 50
#define IDS_ADD_TITLE 51
#define IDS_OPEN_FILTER 52
#define IDS_OPEN_TITLE 53
#define IDS_SAVE_FILTER 54
#define IDS_SAVE_TITLE 55
#define IDS_COLUMN_TITLE 5000
#define IDS_COLUMN_TIME 5001
#define IDS_COLUMN_LOOP 5002
#define IDS_COLUMN_ARTIST 5003
#define IDS_WAVEOUT_VOLUME 6000
#define IDS_DIRECTSHOW_VOLUME 6001
