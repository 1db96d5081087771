#include "review/OverviewFilters.h"

#include <QStringList>

namespace {

QString YearSelector(const char* element, int item, int year)
{
    const QString name = QLatin1String(element);
    return item > 0 ? QStringLiteral("%1[@Year=%2]").arg(name).arg(year) : name;
}

} // namespace

void COverviewFilters::SetProjectState(int item, const QString& stateName)
{
    m_projectItem = item > 0 ? item : 0;
    m_state = m_projectItem > 0 ? stateName : QString();
}

void COverviewFilters::SetChangeRequestStatus(int item, const QString& statusName)
{
    m_statusItem = item > 0 ? item : 0;
    m_status = m_statusItem > 0 ? statusName : QString();
}

void COverviewFilters::SetChangeRequestPriority(int priority)
{
    m_priority = priority > 0 ? priority : 0;
}

void COverviewFilters::ClearChangeRequestFilters()
{
    SetChangeRequestStatus(0, QString());
    SetChangeRequestPriority(0);
}

void COverviewFilters::SetTimesheetYear(int item, int year)
{
    m_timesheetItem = item > 0 ? item : 0;
    m_timesheetYear = m_timesheetItem > 0 ? year : 0;
}

void COverviewFilters::SetCommentYear(int item, int year)
{
    m_commentItem = item > 0 ? item : 0;
    m_commentYear = m_commentItem > 0 ? year : 0;
}

QString COverviewFilters::ProjectSelector() const
{
    if (m_projectItem == 0)
        return QStringLiteral("Project");
    return QStringLiteral("Project[@State=%1]").arg(XPathLiteral(m_state));
}

QString COverviewFilters::ChangeRequestSelector() const
{
    QString selector = QStringLiteral("ChgReq");
    if (m_statusItem > 0)
        selector += QStringLiteral("[@Role=%1]").arg(XPathLiteral(m_status));
    if (m_priority > 0)
        selector += QStringLiteral("[@Priority=%1]").arg(m_priority);
    return selector;
}

QString COverviewFilters::TimesheetSelector() const
{
    return YearSelector("Timesheets", m_timesheetItem, m_timesheetYear);
}

QString COverviewFilters::CommentSelector() const
{
    return YearSelector("Comments", m_commentItem, m_commentYear);
}

QString COverviewFilters::XPathLiteral(const QString& text)
{
    // XPath 1.0 has no escapes: a literal is quoted with the quote it does
    // not hold, and a text holding both is put together with concat().
    const QChar apostrophe = QLatin1Char('\'');
    const QChar quote = QLatin1Char('"');
    if (!text.contains(apostrophe))
        return apostrophe + text + apostrophe;
    if (!text.contains(quote))
        return quote + text + quote;
    QStringList parts;
    const QStringList pieces = text.split(apostrophe);
    for (int i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            parts << QStringLiteral("\"'\"");
        if (!pieces[i].isEmpty())
            parts << apostrophe + pieces[i] + apostrophe;
    }
    return QStringLiteral("concat(%1)").arg(parts.join(QLatin1Char(',')));
}
