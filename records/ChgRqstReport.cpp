#include "records/ChgRqstReport.h"

#include "data/ChgReqTypes.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"

namespace {

QString DateText(const CDateTime& value)
{
    return FormatDateTime(value, RegionalFormats().dateFormat);
}

QString TimeText(const CDateTime& value)
{
    const CRegionalFormats& formats = RegionalFormats();
    return FormatDateTime(value, formats.timeFormat, formats.amDesignator, formats.pmDesignator);
}

} // namespace

bool CChgRqstReport::IsCompleted(const CDateTime& completed)
{
    return CChgReqRecord::IsCompletedDate(completed);
}

CChgRqstReport CChgRqstReport::Build(const QList<CChgRqstReportItem>& items, bool openOnly,
                                     const CDateTime& now)
{
    CChgRqstReport report;
    report.m_headings << CHeading{QStringLiteral("Change Requests "), QStringLiteral("Heading 1")};
    report.m_headings << CHeading{DateText(now) + QStringLiteral("  ") + TimeText(now),
                                  QStringLiteral("Heading 2")};
    if (openOnly)
        report.m_headings << CHeading{QStringLiteral("Not completed Only"),
                                      QStringLiteral("Heading 2")};
    if (items.isEmpty()) {
        // The table is there, with its one empty row.
        report.AddRow(QString(), QString());
        return report;
    }
    int number = 1;
    for (int i = 0; i < items.size(); ++i) {
        const CChgRqstReportItem& item = items.at(i);
        if (i == 0 || item.Reference != items.at(i - 1).Reference) {
            if (i > 0)
                report.AddRow(QString(), QString());
            report.AddGroupHeader(item);
            number = 1;
        }
        report.AddItem(item, number++);
    }
    return report;
}

void CChgRqstReport::AddRow(const QString& label, const QString& value, int shade, bool bold)
{
    m_rows << CRow{{CCell{label, bold}, CCell{value, bold}}, shade};
}

void CChgRqstReport::AddGroupHeader(const CChgRqstReportItem& first)
{
    AddRow(QStringLiteral("Project "), first.Project, kShadeProject, true);
    AddRow(QStringLiteral("ID"), QString::number(first.ChgReqID), kShadeId, true);
    AddRow(QStringLiteral("Reference"), first.Reference, kShadePlain, false);
    AddRow(QStringLiteral("Authority"), first.Authority);
    AddRow(QStringLiteral("Date"),
           first.DateCreated.IsValid()
               ? DateText(first.DateCreated) + QLatin1Char(' ') + TimeText(first.DateCreated)
               : QString());
    AddRow(QStringLiteral("Company"), first.Company);
    AddRow(QStringLiteral("Contact"), first.Contact);
    AddRow(QStringLiteral("Priority"), first.Priority);
    AddRow(QStringLiteral("Team"), first.Team);
}

void CChgRqstReport::AddItem(const CChgRqstReportItem& item, int number)
{
    // Texts kept as RTF show their text.
    const QString numbered =
        QStringLiteral("%1. %2").arg(QString::number(number), ShownText(item.Item));
    if (IsCompleted(item.DateCompleted))
        m_rows << CRow{{CCell{numbered, false},
                        CCell{QStringLiteral("Completed ") + DateText(item.DateCompleted), true}},
                       kShadeNone};
    else
        m_rows << CRow{{CCell{numbered, false}}, kShadeNone};
    QStringList actions;
    for (const QString& action : item.Actions)
        actions << ShownText(action);
    AddRow(QStringLiteral("Actions"), actions.join(QLatin1Char('\n')));
    AddRow(QStringLiteral("Full Details"), ShownText(item.FullDetail));
}
