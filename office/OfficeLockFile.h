#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The folder names of the private profiles the program runs its offices on.
inline constexpr char kPrivateProfilePrefix[] = "kelvane-office-";

// The lock file LibreOffice keeps beside a document while it has it open or
// saves it: ".~lock.<name>#", one line "office user,login,host,since,profile
// URL;". An office that dies leaves it behind, and every office then refuses
// to save to that document.
class COfficeLockFile {
public:
    explicit COfficeLockFile(const QString& documentPath);

    const QString& Path() const { return m_path; }
    // Removes the lock when no office can hold it any more; false when one
    // may: its office runs, or it is another login's or another computer's,
    // or it cannot be read.
    bool ClearIfStale();
    // Who holds it, for the user ("ann on pc7 since 04.03.2024 09:15"); empty when unknown.
    QString Holder() const;

private:
    bool MayBeHeld() const;

    QString m_path;
    QByteArray m_line;
    QStringList m_fields;
};
