#pragma once

#include <QList>
#include <QString>

// The database objects that need a minimum database version, in the order
// they were added. Versions compare in hundredths, so 2.2 read back from a
// 32-bit float still equals 2.2.
class CNameValueArray {
public:
    struct Entry {
        QString name;
        float value = 0.0f;
    };

    CNameValueArray() = default;

    void Add(const QString& name, float value);
    // The first entry of that exact name decides; unregistered names are
    // always available.
    bool IsAvailable(const QString& name, float version) const;
    void RemoveAll();

    int GetSize() const { return static_cast<int>(m_entries.size()); }
    const Entry& At(int index) const { return m_entries.at(index); }

    // A version in whole hundredths (2.2 -> 220, 2.199 -> 220).
    static int Hundredths(double version);

private:
    QList<Entry> m_entries;
};
