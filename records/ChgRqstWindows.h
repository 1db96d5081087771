#pragma once

class CDummyDlg;

// Makes the hub open the change-request window on its Change Requests
// command (and the tray's, which sends the same command).
void RegisterChgRqstWindows();

// How other windows open the change-request window on a project (the
// project overview's button): through the hub's view request. Nothing opens
// while the options turn the window off.
void ShowProjectChangeRequests(CDummyDlg& hub, int projId);
