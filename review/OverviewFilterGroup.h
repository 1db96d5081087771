#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One node of the overview's tree under which the summary's elements of a
// kind hang: its constants, and per child node (in tree order) its key, the
// id of its item and the name shown.
struct COverviewFilterGroup {
    int iconId = 0;
    QString iconFile;
    int treeKey = 0;
    QString treeText;
    QString listHeading;
    // The summary's element name; the filters add predicates to it.
    QString element;

    QList<int> keys;
    QList<int> ids;
    QStringList names;

    void ClearChildren()
    {
        keys.clear();
        ids.clear();
        names.clear();
    }
    // The child's position, by its tree key; -1 when it is not one of ours.
    int IndexOfKey(int key) const { return static_cast<int>(keys.indexOf(key)); }
    int IndexOfId(int id) const { return static_cast<int>(ids.indexOf(id)); }
};
