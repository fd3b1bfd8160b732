// Identifiers shared by the resource script and the program.
#pragma once

// The program icon comes first so that it is also the executable's icon.
#define IDI_PROGRAM 1

// Icons of the icon set, in the order of quor6::IconHolder.
#define IDI_ICON_SET_FIRST 101

#define IDR_TRAY_MENU 200

#define IDM_RESET_ANSWER 101
#define IDM_DISPLAY_HISTORY 102
#define IDM_DISPLAY_HELP 103
#define IDM_ABOUT 104
#define IDM_END 105
#define IDM_HISTORY_FIRST 110

#define IDS_WINDOW_TITLE 300
#define IDS_TITLE_LABEL 301
#define IDS_CREDIT_LABEL 302
