#include "ui/MenuIcons.h"

#include "ui/ResourceIds.h"

#include <QApplication>
#include <QStyle>

namespace {

// Commands 241 and 358 are placeholders: they hold a place in the list and
// match no command.
struct CDefaultIcon {
    int command;
    QStyle::StandardPixmap pixmap;
    const char* label;
};
constexpr CDefaultIcon kDefaultIcons[] = {
    {ID_TIMESHEETS, QStyle::SP_FileDialogDetailedView, ""},
    {ID_REVIEW, QStyle::SP_FileDialogContentsView, ""},
    {ID_CONTACTS, QStyle::SP_DirHomeIcon, ""},
    {ID_TASKS, QStyle::SP_FileDialogListView, ""},
    {ID_AUTO_TIMER_MENU, QStyle::SP_MediaPlay, ""},
    {ID_CHANGE_REQUESTS, QStyle::SP_BrowserReload, ""},
    {241, QStyle::SP_FileIcon, ""},
    {ID_SET_USER, QStyle::SP_DialogYesButton, ""},
    {ID_OVERVIEW, QStyle::SP_ComputerIcon, ""},
    {ID_PROPERTIES, QStyle::SP_FileDialogInfoView, ""},
    {241, QStyle::SP_FileIcon, ""},
    {358, QStyle::SP_DirIcon, ""},
    {241, QStyle::SP_FileIcon, ""},
    {ID_CLOSE_APP, QStyle::SP_DialogCloseButton, ""},
    {ID_PROJECT_INFO, QStyle::SP_MessageBoxInformation, ""},
    {ID_STOP_TIMING, QStyle::SP_MediaStop, ""},
    {ID_ONLINE_HELP, QStyle::SP_DialogHelpButton, "Help"},
    {ID_HELP_TOPICS, QStyle::SP_TitleBarContextHelpButton, ""},
    {ID_ABOUT, QStyle::SP_MessageBoxInformation, "About"},
    {-2, QStyle::SP_DriveHDIcon, "XLS TS stuff"},
};

QString WithoutMnemonics(const QString& text)
{
    QString plain = text;
    return plain.remove(QLatin1Char('&'));
}

} // namespace

CMenuIcons& CMenuIcons::Instance()
{
    static CMenuIcons icons;
    return icons;
}

void CMenuIcons::Add(int command, const QIcon& icon, const QString& label)
{
    m_filled = true;
    m_entries.append({command, icon, label});
}

void CMenuIcons::Clear()
{
    m_entries.clear();
    m_filled = false;
}

void CMenuIcons::FillDefault()
{
    Fill();
}

void CMenuIcons::Fill() const
{
    m_entries.clear();
    m_filled = true;
    QStyle* style = QApplication::style();
    for (const CDefaultIcon& entry : kDefaultIcons)
        m_entries.append({entry.command, style ? style->standardIcon(entry.pixmap) : QIcon(),
                          QString::fromLatin1(entry.label)});
}

void CMenuIcons::EnsureFilled() const
{
    if (!m_filled)
        Fill();
}

int CMenuIcons::Count() const
{
    EnsureFilled();
    return static_cast<int>(m_entries.size());
}

int CMenuIcons::IndexOf(int command) const
{
    EnsureFilled();
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).command == command)
            return i;
    return -1;
}

int CMenuIcons::CommandOfLabel(const QString& text) const
{
    EnsureFilled();
    const QString wanted = WithoutMnemonics(text);
    for (const CEntry& entry : m_entries)
        if (!entry.label.isEmpty() &&
            WithoutMnemonics(entry.label).compare(wanted, Qt::CaseInsensitive) == 0)
            return entry.command;
    return -1;
}

QIcon CMenuIcons::Icon(int index) const
{
    EnsureFilled();
    return index >= 0 && index < m_entries.size() ? m_entries.at(index).icon : QIcon();
}
