// The program's resource and command identifiers, shared by the resource scripts and the code;
// the framework's standard ones come from framework/AfxRes.h.
#pragma once

#include "framework/AfxRes.h"

// Resources named 128: menu, accelerators, main icon, toolbar, document string.
#define IDR_MAINFRAME                   128
#define IDR_TRAYICON                    129   // tray icon and its tip string
#define IDR_POPUP_ENTRY                 130   // entry list popup menu
#define IDR_POPUP_TRAY                  132   // tray popup menu
#define IDD_ABOUTBOX                    100
#define IDD_MODIFY                      131
#define IDC_DRAG                        105   // drag cursor
#define IDD_HOTKEY                      140   // the hotkey dialog
#define IDD_DELIVERY_RULES              170   // "Delivery Rules..."

// Controls.
#define IDC_MODIFY_TEXT                 1000
#define IDC_ABOUT_UPDATE                1037
#define IDC_HOTKEY                      1160  // the hotkey dialog's hotkey control
#define IDC_FILTER                      1140  // the filter field above the list
// The delivery rules dialog.
#define IDC_RULES_LIST                  1270
#define IDC_RULE_METHOD                 1271
#define IDC_RULE_CLASS                  1272
#define IDC_RULE_FINDER                 1273  // the icon dragged over a window
#define IDC_RULE_PARAM1                 1274
#define IDC_RULE_PARAM2                 1275
#define IDC_RULE_KEY                    1276  // the Keybd rule's key (hotkey control)
#define IDC_RULE_POINTED                1277  // the window under the finder: class, program, rule
#define IDC_RULE_ADD                    1278
#define IDC_RULE_CHANGE                 1279
#define IDC_RULE_REMOVE                 1280
#define IDC_RULE_UP                     1281
#define IDC_RULE_DOWN                   1282
#define IDC_RULE_TRY                    1283

// The program's own commands.
#define ID_ALWAYS_ON_TOP                32771
#define ID_INSERT_LINE                  32772
#define ID_DELETE_LINE                  32774
#define ID_MODIFY_TEXT                  32775
#define ID_ACTIVE_DEST_WINDOW           32776
#define ID_MODIFY_EXPLANATION           32777
#define ID_EDIT_FILE_BY_TEXT_EDITOR     32779
#define ID_REFRESH                      32780
#define ID_INIT_WINDOW_POS              32782
#define ID_CLOSE_WINDOW                 32784
#define ID_DISPLAY                      32785
#define ID_AUTO_INPUT                   32786
#define ID_OPEN_WEBINPUT_FILE           32787
#define ID_TAG_INDEX_REPORT             32788
#define ID_CONVERT_HALF_WIDTH           32790
#define ID_PREFIX_LINES                 32791
#define ID_WEB_SETTING_ERRORS           32820   // posted: tells of the setting file's first bad line
#define ID_HOT_KEY                      32840
#define ID_RESTORE_CLIPBOARD            32841
#define ID_DELIVERY_RULES               32870
#define ID_FILTER_FOCUS                 32830  // Ctrl+F: to the filter field

// Strings of the program.
#define IDS_COLUMN_TEXT                 57345
#define IDS_COLUMN_EXPLANATION          57346
#define IDS_MODIFY_TEXT                 57347
#define IDS_MODIFY_EXPLANATION          57348
#define IDS_DELETE_CONFIRM              57349
// The list and its file on disk, an unsaved edit kept at a session's end, the code page question.
#define IDS_FILE_CHANGED_RELOADED       57360
#define IDS_FILE_CHANGED_KEEP_WHICH     57361
#define IDS_RECOVERY_FILE_KEPT          57362
#define IDS_KEEP_AS_UTF8                57363
#define IDS_FILE_CHANGED_UNREADABLE     57364
#define IDS_SAVE_FAILED_SAVE_AGAIN      57365   // %1: the path
#define IDS_RECOVERY_FILE_FAILED        57366
// A list whose file is in no known encoding.
#define IDS_UNKNOWN_ENCODING            57380
#define IDS_READ_ONLY_LIST              57381

// Strings of browser automation and the web input setting file.
#define IDS_WEB_NO_ELEMENT              57410   // %1: the reference
#define IDS_WEB_FAILURE                 57411   // %1: the step reached
#define IDS_WEB_OLE_FAILED              57412
#define IDS_REPORT_FILTER_TEXT          57413
#define IDS_REPORT_FILTER_ALL           57414
#define IDS_REPORT_WRITE_FAILED         57415   // %1: the path
#define IDS_WEB_SETTING_NOT_NUMBER      57416   // %1: the line number, %2: the reference
#define IDS_WEBINPUT_FILTER_TEXT        57417
#define IDS_WEBINPUT_FILTER_ALL         57418
// A browser reached through its own DevToolsActivePort file (%1: the browser).
#define IDS_WEB_BROWSER_WAITING         57600
#define IDS_WEB_BROWSER_GAVE_UP         57601
#define IDS_WEB_BROWSER_REFUSED         57602
// Why a drop put nothing into its target (%1: the program).
#define IDS_DROP_NOTICE_TITLE           57390
#define IDS_DROP_BLOCKED                57391
#define IDS_DROP_NOT_ANSWERING          57392
#define IDS_DROP_CLIPBOARD_BUSY         57395
// The key that calls the window.
#define IDS_HOTKEY_TAKEN                57460
// The filter field's cue banner.
#define IDS_FILTER_CUE                  57440
// Text dropped on the list that an entry could not give back exactly.
#define IDS_DROP_BACKSLASH_N            57441
// The delivery rules dialog.
#define IDS_RULE_UNREADABLE             57570   // %1: the rule's key
#define IDS_RULE_NOT_NUMBER             57571
#define IDS_RULE_TRY_TEXT               57572
#define IDS_RULES_NOT_SAVED             57573
