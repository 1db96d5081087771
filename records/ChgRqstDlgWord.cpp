// The change-request window's report: the listed requests written into a
// text document through the office layer, and handed to the user.
#include "records/ChgRqstDlg.h"

#include "data/DBClass.h"
#include "office/OfficeError.h"
#include "office/OfficeSession.h"
#include "office/TextDocument.h"
#include "platform/MessageBox.h"
#include "records/ChgRqstReport.h"
#include "ui/Utilities.h"
#include "ui/WaitCursor.h"

#include <QCheckBox>

#include <exception>

QList<CChgRqstReportItem> CChgRqstDlg::ReportItems(const QList<CChgRqstRow>& rows)
{
    QList<CChgRqstReportItem> items;
    for (const CChgRqstRow& row : rows) {
        CChgRqstReportItem item;
        item.ChgReqID = row.ChgReqID;
        item.Project = row.Project;
        item.Reference = row.Reference;
        item.Authority = row.Authority;
        item.DateCreated = row.DateCreated;
        item.Company = row.Company;
        item.Contact = row.Contact;
        item.Priority = row.Priority;
        item.Item = row.Item;
        item.DateCompleted = row.DateCompleted;
        m_db.FillChgReqTeam(row.ChgReqID, item.Team);
        // A request deleted meanwhile is reported with what the list showed.
        CChgReqRecord record;
        QString reason;
        if (m_db.ReadChangeRequest(row.ChgReqID, record, reason) == ChgReqResult::Ok) {
            item.FullDetail = record.FullDetail;
            for (const CChgReqAction& action : std::as_const(record.Actions))
                item.Actions << action.Comment;
        }
        items << item;
    }
    return items;
}

void CChgRqstDlg::ExportToWord(const QList<CChgRqstRow>& rows)
{
    m_lastReportFile.clear();
    IOfficeDocuments* documents = m_documents ? m_documents : COfficeSession::Current();
    if (!documents) {
        ShowMessageBox(QStringLiteral("LibreOffice is not available"), kMbOk | kMbIconWarning);
        return;
    }
    CWaitCursor wait;
    const CDateTime now = CDateTime::CurrentDateTime();
    const QList<CChgRqstReportItem> items = ReportItems(rows);
    std::unique_ptr<ITextDocument> document;
    try {
        document = documents->NewTextDocument();
    } catch (const COfficeError& e) {
        const QString reason = OfficeFailureText(e);
        ShowMessageBox(e.ErrorKind() == COfficeError::kUnavailable
                           ? QStringLiteral("LibreOffice is not available\n") + reason
                           : QStringLiteral("Cannot start LibreOffice.\n") + reason,
                       kMbOk | kMbIconWarning);
        return;
    } catch (const std::exception& e) {
        ShowMessageBox(QStringLiteral("Cannot start LibreOffice.\n") + OfficeFailureText(e),
                       kMbOk | kMbIconWarning);
        return;
    }
    // Whatever goes wrong in the office is told here; the window carries on.
    try {
        WriteWordRecord(*document, items);
        m_lastReportFile =
            documents->Present(*document, QStringLiteral("ChgRst_%1_%2")
                                              .arg(FormatDateTime(now, QStringLiteral("%y%m%d")),
                                                   FormatDateTime(now, QStringLiteral("%H%M%S"))));
    } catch (const std::exception& e) {
        ShowMessageBox(QStringLiteral("The change request document could not be finished.\n") +
                           OfficeFailureText(e),
                       kMbOk | kMbIconWarning);
    }
}

void CChgRqstDlg::WriteWordRecord(ITextDocument& document, const QList<CChgRqstReportItem>& items)
{
    const CChgRqstReport report =
        CChgRqstReport::Build(items, m_openOnly->isChecked(), CDateTime::CurrentDateTime());
    const QList<CChgRqstReport::CHeading>& headings = report.Headings();
    for (int h = 0; h < headings.size(); ++h) {
        if (h > 0)
            document.TypeParagraph();
        document.TypeText(headings.at(h).text);
        document.SetStyle(headings.at(h).style);
    }
    document.TypeParagraph();
    document.TypeParagraph();
    // The table as Word's automation writes it: each row is the table's last,
    // reached by moving on from the last cell, and takes its cells from the
    // row above until it is merged or split.
    document.AddTable(1, 2);
    bool merged = false;
    const QList<CChgRqstReport::CRow>& rows = report.Rows();
    for (int r = 0; r < rows.size(); ++r) {
        const CChgRqstReport::CRow& row = rows.at(r);
        const int number = r + 1;
        if (r > 0)
            document.MoveRightCell();
        if (row.Merged() && !merged)
            document.MergeRow(number);
        else if (!row.Merged() && merged)
            document.SplitRow(number, 2);
        merged = row.Merged();
        for (int c = 0; c < row.cells.size(); ++c) {
            if (c > 0)
                document.MoveRightCell();
            document.TypeText(row.cells.at(c).text);
        }
        document.ShadeRow(number, row.shade);
        for (int c = 0; c < row.cells.size(); ++c)
            document.SetCellBold(number, c + 1, row.cells.at(c).bold);
    }
}
