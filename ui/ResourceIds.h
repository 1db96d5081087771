#pragma once

// The numbers of commands, dialogs and controls. Commands are also the
// message numbers windows post to the hub; controls created for an id carry
// the object name "id<number>".

enum CommandId : int {
    IDOK = 1,
    IDCANCEL = 2,
    ID_XLS_TIMESHEET = 109,
    ID_REGISTER_XSL = 110,
    ID_TIMESHEETS = 12771,
    ID_CLOSE_WINDOW = 12772,
    ID_CLOSE_APP = 12773,
    ID_CONTACTS = 12774,
    ID_TASKS = 12775,
    ID_PROPERTIES = 12776,
    ID_ABOUT = 12777,
    ID_REVIEW = 12778,
    ID_EXPORT = 12779,
    ID_IMPORT = 12780,
    ID_AUTO_TIMER_MENU = 12781,
    ID_SET_USER = 12785,
    ID_STOP_TIMING = 12786,
    ID_ONLINE_HELP = 12795,
    ID_AUTO_TIMER = 12796,
    ID_TIMESHEET_AND_AUTO_TIMER = 12797,
    ID_PROJECT_INFO = 12831,
    ID_CHANGE_REQUESTS = 12835,
    ID_REFRESH_TIMESHEET = 12856,
    ID_STARTUP_TIMER = 12860,
    ID_OVERVIEW = 12896,
    ID_HELP_TOPICS = 57667,
    ID_RELOAD_EMPLOYEES = 57675,
};

enum DialogId : int {
    IDD_TIMESHEET = 102,
    IDD_REVIEW = 151,
    IDD_CONTACTS = 160,
    IDD_HUB = 161,
    IDD_COMMENTS = 162,
    IDD_SET_USER = 177,
    IDD_PROJECT_INFO = 190,
    IDD_AUTO_TIMER = 228,
    IDD_CHANGE_REQUESTS = 251,
    IDD_LOGON = 275,
    IDD_CHANGE_PASSWORD = 278,
    IDD_OVERVIEW = 325,
};

enum ControlId : int {
    IDC_CHANGE_PASSWORD = 3,
    IDC_SET_USER_NAME = 1001,
    IDC_SET = 1133,
    IDC_NEW_PASSWORD = 1178,
    IDC_VERIFY_PASSWORD = 1179,
    IDC_USER_COMBO = 1309,
    IDC_OLD_PASSWORD = 1310,
    IDC_PASSWORD = 1360,
    // The tree and the report list of the tree/list windows.
    IDC_TREE = 1083,
    IDC_LIST = 12884,
};

// Open-window flags of the hub.
enum OpenWindowFlag : int {
    kOpenTimeSheet = 0x0001,
    kOpenContacts = 0x0002,
    kOpenReview = 0x0004,
    kOpenComments = 0x0008,
    kOpenAutoTimer = 0x0010,
    kOpenSetUser = 0x0020,
    kOpenLogon = 0x0040,
    kOpenOverview = 0x0080,
    kOpenChangeRequests = 0x0100,
    kOpenProjectInfo = 0x0200,
};
