#pragma once

#include <initializer_list>

class CDummyDlg;
class QMenu;

// What the record windows' main menus share.

// The menu offers the contacts, comments and change-request windows only
// while the options turn them on; checked each time it opens.
void FollowWindowOptions(QMenu* mainMenu);

// A main-menu command the hub runs: posted to it (Set User after clearing
// its Set-User flag). False for a command not in the list.
bool ForwardToHub(CDummyDlg* hub, int command, std::initializer_list<int> forwarded);
