#pragma once

#include "data/DateTime.h"

#include <QList>
#include <QString>
#include <QStringList>

// One item of a change request as the report shows it: its list row with
// the request's team, actions and full details.
struct CChgRqstReportItem {
    int ChgReqID = -1;
    QString Project;
    QString Reference;
    QString Authority;
    CDateTime DateCreated;
    QString Company;
    QString Contact;
    QString Priority;
    QString Item;
    CDateTime DateCompleted;
    QString Team;
    QStringList Actions;
    QString FullDetail;
};

// The change-request report as a document: headings, then one two-column
// table. Items that follow each other under one reference form a group: a
// block of header rows, then per item its numbered row, its actions and its
// details; an empty row stands between groups. Nothing here knows the office
// program: a writer turns the report into a document.
class CChgRqstReport {
public:
    // Word's colour indexes of the shaded rows (0: no shading).
    enum Shade : int {
        kShadeNone = 0,
        kShadePlain = 8,    // white
        kShadeProject = 15, // grey 50%
        kShadeId = 16,      // grey 25%
    };

    struct CHeading {
        QString text;
        QString style; // "Heading 1", "Heading 2"
    };
    struct CCell {
        QString text;
        bool bold = false;
    };
    // A row of the table: two cells, or one when the row is merged.
    struct CRow {
        QList<CCell> cells;
        int shade = kShadeNone;
        bool Merged() const { return cells.size() == 1; }
    };

    // The report of the items in list order, made at `now`; openOnly when
    // the list shows only requests not completed.
    static CChgRqstReport Build(const QList<CChgRqstReportItem>& items, bool openOnly,
                                const CDateTime& now);

    const QList<CHeading>& Headings() const { return m_headings; }
    const QList<CRow>& Rows() const { return m_rows; }
    // An item counts as completed when its completion date is a real one
    // (from 1900 on); open items stand in a merged row.
    static bool IsCompleted(const CDateTime& completed);

private:
    void AddRow(const QString& label, const QString& value, int shade = kShadeNone,
                bool bold = false);
    void AddGroupHeader(const CChgRqstReportItem& first);
    void AddItem(const CChgRqstReportItem& item, int number);

    QList<CHeading> m_headings;
    QList<CRow> m_rows;
};
