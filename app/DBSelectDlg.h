#pragma once

#include "app/PropertyPage.h"

class QTextEdit;

// "Database Connection": the database in use, and a switch to another. Select
// only chooses; the switch happens when the sheet applies the page, and only
// once the new database has opened, so a database that cannot be opened
// leaves the program as it was.
class CDBSelectDlg : public CPropertyPage {
    Q_OBJECT
public:
    explicit CDBSelectDlg(CPropsDef& sheet);

    bool OnApply() override;

    // The connection string the page stands for (passwords in full).
    QString ConnectionString() const { return m_connection; }
    // The last apply found another database chosen.
    bool DatabaseChanged() const { return m_changedDatabase; }

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void OnSelect();
    bool SwitchDatabase(const QString& wanted);
    void ShowConnection();

    QString m_connection;
    QString m_atOpening;
    bool m_changedDatabase = false;

    QTextEdit* m_text;
};
