// The framework's standard identifiers: the commands, strings and control-bar windows it
// handles itself. An application's resource scripts define the strings and menu items
// under these numbers; its own identifiers lie outside these ranges.
#pragma once

#define AFX_IDS_APP_TITLE               57344
#define ID_FILE_NEW                     57600
#define ID_FILE_OPEN                    57601
#define ID_FILE_SAVE                    57603
#define ID_FILE_SAVE_AS                 57604
#define ID_FILE_MRU_FILE1               57616
#define ID_FILE_MRU_LAST                57631
#define ID_EDIT_COPY                    57634
#define ID_APP_ABOUT                    57664
#define ID_APP_EXIT                     57665
#define ID_VIEW_TOOLBAR                 59392
#define AFX_IDW_TOOLBAR                 0xE800
#define AFX_IDW_PANE_FIRST              0xE900

#define AFX_IDS_UNTITLED                61443
#define AFX_IDP_FAILED_TO_OPEN_DOC      61704
#define AFX_IDP_FAILED_TO_SAVE_DOC      61705
#define AFX_IDP_ASK_TO_SAVE             61706
#define AFX_IDP_FILE_NOT_FOUND          61707
#define AFX_IDP_PARSE_STRING_SIZE       61708
#define AFX_IDP_FILE_ACCESS_DENIED      61709
#define AFX_IDP_FILE_SHARING            61710
#define AFX_IDP_FILE_DISK_FULL          61711
#define AFX_IDS_ALL_FILES               61712

// Resource type of a toolbar layout (the framework's RT_TOOLBAR).
#define RT_TOOLBAR_DATA                 241
