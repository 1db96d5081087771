#pragma once

#include "ui/Utilities.h"

#include <QLocale>

// A desktop of another country for one test: Qt's default locale and the
// program's regional formats read from it, both put back afterwards.
class CDesktopLocale {
public:
    explicit CDesktopLocale(const char* name)
    {
        QLocale::setDefault(QLocale(QLatin1String(name)));
        SetRegionalFormats(ReadRegionalFormats());
    }
    ~CDesktopLocale()
    {
        QLocale::setDefault(m_locale);
        SetRegionalFormats(m_formats);
    }
    CDesktopLocale(const CDesktopLocale&) = delete;
    CDesktopLocale& operator=(const CDesktopLocale&) = delete;

private:
    QLocale m_locale;
    CRegionalFormats m_formats = RegionalFormats();
};
