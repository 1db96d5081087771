#include "data/NameValueArray.h"

#include <cmath>

void CNameValueArray::Add(const QString& name, float value)
{
    m_entries.append({name, value});
}

bool CNameValueArray::IsAvailable(const QString& name, float version) const
{
    for (const Entry& entry : m_entries)
        if (entry.name == name)
            return Hundredths(version) >= Hundredths(entry.value);
    return true;
}

void CNameValueArray::RemoveAll()
{
    m_entries.clear();
}

int CNameValueArray::Hundredths(double version)
{
    return static_cast<int>(std::lround(version * 100.0));
}
