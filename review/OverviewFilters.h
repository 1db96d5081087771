#pragma once

#include <QString>

// The filters of the overview's tree: each group's elements are picked from
// the summary by an XPath step, its element name with the chosen filters as
// predicates. Items are the 1-based positions of the menu entries; 0 is no
// filter. The change requests' status and priority filters add up.
class COverviewFilters {
public:
    void SetProjectState(int item, const QString& stateName);
    void SetChangeRequestStatus(int item, const QString& statusName);
    void SetChangeRequestPriority(int priority);
    void ClearChangeRequestFilters();
    void SetTimesheetYear(int item, int year);
    void SetCommentYear(int item, int year);

    int ProjectItem() const { return m_projectItem; }
    int StatusItem() const { return m_statusItem; }
    int Priority() const { return m_priority; }
    int TimesheetYearItem() const { return m_timesheetItem; }
    int CommentYearItem() const { return m_commentItem; }
    // The years chosen; 0 for none.
    int TimesheetYear() const { return m_timesheetYear; }
    int CommentYear() const { return m_commentYear; }

    QString ProjectSelector() const;
    QString ChangeRequestSelector() const;
    QString TimesheetSelector() const;
    QString CommentSelector() const;

    // A text as an XPath string literal, whatever quotes it holds.
    static QString XPathLiteral(const QString& text);

private:
    int m_projectItem = 0;
    QString m_state;
    int m_statusItem = 0;
    QString m_status;
    int m_priority = 0;
    int m_timesheetItem = 0;
    int m_timesheetYear = 0;
    int m_commentItem = 0;
    int m_commentYear = 0;
};
