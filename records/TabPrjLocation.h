#pragma once

#include "records/ProjectPage.h"

class QPushButton;

// "Project &Location": the project's plan file and its folder, each opened
// in the desktop's program by its "..." button.
class CTabPrjLocation : public CProjectPage {
    Q_OBJECT
public:
    enum : int {
        IDD = 352,
        kIdPlanFile = 1269,
        kIdDirectory = 1270,
        kIdOpenPlanFile = 1271,
        kIdOpenDirectory = 1272,
    };

    explicit CTabPrjLocation(CShowPrjDlg* owner, QWidget* parent = nullptr);

    QString PlanFile() const;
    QString Directory() const;
    // Each opens its text in the desktop's program after checking that it
    // names a folder (a file); false when nothing was opened (the user was
    // told why).
    bool OnOpenDirectory();
    bool OnOpenMsProject();

protected:
    void Fill() override;
    bool OnPageCommand(int id) override;

private:
    QLabel* m_planFile;
    QLabel* m_directory;
    QPushButton* m_openPlanFile;
    QPushButton* m_openDirectory;
};
