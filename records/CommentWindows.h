#pragma once

class CDummyDlg;

// The hub's view request flags (CDummyDlg::m_pendingFlags), by position.
enum ViewRequestFlag : int {
    kRequestChangeRequests = 0,
    kRequestComments = 1,
    kRequestToDos = 2,
    kRequestFourth = 3,
    kRequestCompany = 4,
};

// Makes the hub open the comments window on its Comments command (and the
// tray's, which sends the same command).
void RegisterCommentWindows();

// How other windows open the comments window on a record: they set the
// hub's view request and send the Comments command; the window, opened or
// brought forward, reads the request. Nothing opens while the options turn
// the comments window off.
// A company's comments (the contacts window's "Comments for").
void ShowCompanyComments(CDummyDlg& hub, int companyId);
// A project's comments, or its to-dos (the project overview's buttons).
void ShowProjectComments(CDummyDlg& hub, int projId, bool toDos);
