#pragma once

#include <QIcon>
#include <QList>
#include <QString>

// The program's menu icons: the commands that have one, each with its icon
// and a label (for popups, which have no command); a command's position in
// the list is its image index. Filled with the program's icons on first use
// unless the application fills it first.
class CMenuIcons {
public:
    struct CEntry {
        int command = 0;
        QIcon icon;
        QString label;
    };

    static CMenuIcons& Instance();

    void Add(int command, const QIcon& icon, const QString& label = QString());
    void Clear();
    void FillDefault();

    int Count() const;
    // The image index of the command; -1 when it has no icon.
    int IndexOf(int command) const;
    // The command whose label equals the text (ignoring case and "&"); -1.
    int CommandOfLabel(const QString& text) const;
    QIcon Icon(int index) const;

private:
    void EnsureFilled() const;
    void Fill() const;

    // Filled lazily by the lookups.
    mutable QList<CEntry> m_entries;
    mutable bool m_filled = false;
};
