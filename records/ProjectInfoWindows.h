#pragma once

class CDBClass;
class CDummyDlg;
class IHubWindow;

// Makes the hub open the project information window on its Project Info
// command and on a request to show a project (the time line's project
// double-click): for the employee and project the hub holds as requested.
void RegisterProjectInfoWindows();
IHubWindow* CreateProjectInfoWindow(CDummyDlg& hub, CDBClass& db);
