#pragma once
// Resource numbers, commands and control identifiers of Zindral. Included by
// the resource script too, so plain #defines only.
#define IDI_ZINDRAL      101
#define IDM_TRAY         102
#define IDD_ABOUT        103
#define IDD_HOTKEY       104
#define IDD_CONFIG       105
#define IDC_HAND_CURSOR  107

#define IDM_EXIT          40001
#define IDM_ABOUT         40002
#define IDM_CONFIGURATION 40003

// Hot-key edit dialog (104)
#define IDC_COMMAND_LINE      1000
#define IDC_PARAMETERS        1001
#define IDC_WORKING_DIRECTORY 1002
#define IDC_KEY               1003
#define IDC_WIN               1004
#define IDC_CTRL              1005
#define IDC_ALT               1006
#define IDC_SHIFT             1007
#define IDC_BROWSE            1009
#define IDC_MODIFIERS_GROUP   1010
// Configuration dialog (105)
#define IDC_ADD               1005
#define IDC_DELETE            1006
#define IDC_EDIT              1007
#define IDC_LIST              1008
// About dialog (103)
#define IDC_WEB_LINK          1011
#define IDC_MAIL_LINK         1012
