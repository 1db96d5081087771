#pragma once

#include "review/TimeSheetExchangeDlg.h"

#include <QDate>

class QComboBox;
class QDateEdit;

// "Export TimeSheets": writes the time sheets of a date range, of one
// employee or all and one project or all, to a time-sheet file.
class CExportTimeSheetsDlg : public CTimeSheetExchangeDlg {
    Q_OBJECT
public:
    enum : int {
        kIdWhoFor = 1125,
        kIdChooseProject = 1028,
        kIdProject = 1012,
        kIdBegin = 1137,
        kIdEnd = 1138,
        kIdStatus = 1128,
    };
    static const QString kAll;

    CExportTimeSheetsDlg(CDBClass& db, CDummyDlg* hub, QWidget* parent = nullptr);

    bool OnCommand(int id) override;

    QString ProjectName() const { return m_projectName; }
    void SetProject(const QString& name) { m_projectName = name; }
    void SetPeriod(const QDate& begin, const QDate& end);
    // The rows the last export wrote.
    int Written() const { return m_written; }

protected:
    bool OnInitDialog() override;
    void DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    QString ChooseFile(const QString& current) override;

private:
    void OnChooseProject();
    // The filter of the rows to write and its values; false (status said)
    // when the project is not in the database.
    bool BuildFilter(QString& filter, QVariantList& values);
    void Export();

    QString m_projectName;
    QDate m_begin;
    QDate m_end;
    int m_written = 0;

    QComboBox* m_whoFor;
    QLabel* m_project;
    QDateEdit* m_beginEdit;
    QDateEdit* m_endEdit;
};
