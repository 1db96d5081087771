#pragma once

#include "ui/ContextHelpDlg.h"

class CControlHost;
class CDBClass;
class QLabel;

// The About box: version texts and a live time line.
class CAboutDlg : public CContextHelpDlg {
    Q_OBJECT
public:
    static constexpr const char* kWebAddress = "https://www.dunmere.com/kelvane";

    explicit CAboutDlg(CDBClass* db, QWidget* parent = nullptr);

    // Null when the time-line control could not be created.
    CControlHost* TimeLine() const { return m_timeLine; }
    QString UsingVersionText() const;

protected:
    void OnOK() override;

private:
    CDBClass* m_db;
    CControlHost* m_timeLine = nullptr;
    QLabel* m_using = nullptr;
};
