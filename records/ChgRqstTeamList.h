#pragma once

#include <QList>
#include <QStringList>

class CDBClass;
class QListWidget;

// The team lists of the change-request dialogs: one entry per employee,
// its id as item data, several entries selected at once.

// The current employees in the employee map's order, the members given
// selected; a member who has left is listed after them as "name (left)",
// selected, so that the team is not lost by an OK.
void FillTeamList(CDBClass& db, QListWidget* list, const QList<int>& members);
// The selected entries in list order: their names (without the mark of a
// member who left) and ids.
void SelectedTeam(const QListWidget* list, QStringList& names, QList<int>& ids);
