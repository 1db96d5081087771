#pragma once

#include "data/SqlDialect.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>

class CDBClass;
class CDbTransaction;

// One time-sheet row read from an exchange file.
struct CImportRow {
    int Line = 0; // its line in the file
    int EmpID = -1;
    int ProjID = -1;
    int OrderID = -1;
    int TaskID = -1;
    int WorkTypeID = -1; // -1: none given (the task's own is taken)
    QString Comment;
    QDate WorkDate;
    int Start = 0; // minutes since midnight
    int Stop = 0;  // 1440: the end of the day
    int TimeID = 0;
    int ObjectTypeID = -1; // -1: none
    int ObjectID = -1;
    int InvID = -1;
};

// Why a row was not imported. The ids are checked in this order, then the
// times, then the booked rows.
enum class ImportRefusal : int {
    Employee,
    Project,
    Order,
    Task,
    WorkType,
    BadTimes, // outside the day, or the stop not after the start
    BadTimeId,
    Overlap,      // with a booked row, or with an earlier line of the file
    NoFreeTimeId, // its TimeID is taken and the day's highest is the highest there is
};

struct CImportRefused {
    int Line = 0;
    ImportRefusal Reason = ImportRefusal::Overlap;
    int Id = -1; // the id that was not found
};

// Hears how far an import is; false stops it, and nothing is written.
class IImportProgress {
public:
    enum Phase : int { kChecking, kWriting };
    virtual ~IImportProgress() = default;
    virtual bool ImportProgress(Phase phase, qint64 done, qint64 total) = 0;
};

// Writes the rows of an exchange file into tblTimeSheet by the rules of the
// facade's time-sheet write (the ids must exist, hours and cost by the
// booking interval, the order's rate and the employee's factor, the task's
// work type when none is given, no overlap with booked rows, the day locks
// of the server), set-based and in one transaction: every accepted row or
// none. A row whose TimeID is taken on its day (without overlapping) gets
// the day's next one, or is refused when the day's highest is the highest
// there is.
class CTimeSheetImport {
public:
    enum Result { kDone, kCancelled, kFailed };

    explicit CTimeSheetImport(CDBClass& db);

    // The rows in the order of their lines.
    Result Run(const QList<CImportRow>& rows, IImportProgress* progress = nullptr);

    int Imported() const { return m_imported; }
    // In line order.
    const QList<CImportRefused>& Refused() const { return m_refused; }
    int Renumbered() const { return m_renumbered; }
    // Why a run failed.
    const QString& Reason() const { return m_reason; }

private:
    struct CLookups;
    struct CAccepted;
    using RowValues = std::function<void(qsizetype index, QList<QVariantList>& columns)>;
    bool LoadLookups(CDbTransaction& transaction, CLookups& lookups);
    void Validate(const QList<CImportRow>& rows, const CLookups& lookups,
                  QList<const CImportRow*>& valid);
    bool Stage(CDbTransaction& transaction, const QList<const CImportRow*>& valid,
               IImportProgress* progress, bool& cancelled);
    bool Check(CDbTransaction& transaction, const QList<const CImportRow*>& valid,
               QList<CAccepted>& accepted);
    bool Write(CDbTransaction& transaction, const QList<CAccepted>& accepted,
               const CLookups& lookups, IImportProgress* progress, bool& cancelled);
    // Inserts `count` rows, as many to a statement as the back end takes,
    // telling the progress before each statement and after the last.
    bool InsertRows(CDbTransaction& transaction, const QString& table,
                    const QList<CSqlDialect::CBulkColumn>& columns, qsizetype count,
                    IImportProgress::Phase phase, IImportProgress* progress, bool& cancelled,
                    const RowValues& row);

    CDBClass& m_db;
    int m_imported = 0;
    int m_renumbered = 0;
    QList<CImportRefused> m_refused;
    QString m_reason;
};
