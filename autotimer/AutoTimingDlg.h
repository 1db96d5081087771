#pragma once

#include "app/HubWindow.h"
#include "autotimer/BookTime.h"
#include "ui/AutoTimerOwner.h"
#include "ui/DialogBase.h"

#include <QDateTime>

#include <memory>

class CDBClass;
class CDummyDlg;
class CProjComboEx;
class CTipButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;

// The small "Auto Timer" window: the user picks a project and a task and
// presses Go; its engine then books the time until Stop, the window closes,
// the day ends or the daily stop time is reached.
class CAutoTimingDlg : public CDialogBase,
                       public IHubWindow,
                       public IAutoTimerOwner,
                       public IBookTimeOwner {
    Q_OBJECT
public:
    enum : int {
        kIdTask = 1309,
        kIdRemember = 1217,
        kIdStatus = 1120,
        kIdProject = 1225,
        kIdGo = 1143,
        kIdAlwaysOnTop = 12808,
        kIconId = 290,
    };

    CAutoTimingDlg(CDummyDlg* hub, CDBClass& db, QWidget* parent = nullptr);
    ~CAutoTimingDlg() override;

    bool OnCommand(int id) override;
    CBookTime& Engine() { return *m_engine; }

    // ---- IHubWindow --------------------------------------------------------------------
    QWidget* Widget() override { return this; }
    // ID_STOP_TIMING stops timing; any other flag closes the window without asking.
    void CloseWindow(int flag) override;
    bool IsTiming() const override { return m_timing; }

    // ---- IAutoTimerOwner -----------------------------------------------------------------
    void OnGo() override;
    void OnSelChangeProject() override;

    // The hub's stop-timing command.
    void OnStopTiming();
    void UpdateWindowText() override;
    QString StatusText() const;
    int SelectedProjectId() const { return m_projId; }
    bool IsAlwaysOnTop() const { return m_alwaysOnTop; }

protected:
    bool OnInitDialog() override;
    // Enter starts or stops timing through the Go button only; Escape closes.
    void OnOK() override {}
    void OnCancel() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The captions while timing are long: the window is as wide as its caption.
    void changeEvent(QEvent* event) override;

private:
    // ---- IBookTimeOwner -------------------------------------------------------------------
    void OnTimingStopped() override;
    void PassRecordToTimesheet(const QDate& day, int projId, const QString& user, int empId,
                               int start, int stop, const QString& text) override;
    void SetTimesheetReadOnly(int state) override;
    void EnableTimesheetEditing(bool enable) override;
    void RefreshTimesheet(const QDate& day) override;
    void SetTrayIcon(int iconId, const QString& tip) override;

    void BuildControls();
    void OnSize();
    void FillTasks();
    void SetIdleCaption();
    void ShowIdle();
    void OnAlwaysOnTop();
    QString FormatDate(const QDate& day) const;

    CDummyDlg* m_hub;
    CDBClass& m_db;
    std::unique_ptr<CBookTime> m_engine;
    QWidget* m_client = nullptr;
    CProjComboEx* m_project = nullptr;
    QComboBox* m_task = nullptr;
    QCheckBox* m_remember = nullptr;
    QLabel* m_status = nullptr;
    CTipButton* m_go = nullptr;
    QAction* m_alwaysOnTopAction = nullptr;

    QString m_userName;
    int m_projId = -1;
    bool m_rememberProject = true;
    bool m_timing = false;
    bool m_alwaysOnTop = false;
    bool m_sizing = false;
    bool m_closing = false;
    QDateTime m_logStart;
    QDateTime m_logStop;
};
