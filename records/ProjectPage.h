#pragma once

#include "ui/TabPage.h"

class CShowPrjDlg;
class QGridLayout;
class QLabel;

// The base of the project information pages. A page reads everything from
// its owner, the project information window: the project record, its id
// and its leader. Each fill first empties the page's texts; a page without
// an owner or without a project stays empty.
class CProjectPage : public CTabPage {
    Q_OBJECT
public:
    CProjectPage(int templateId, CShowPrjDlg* owner, QWidget* parent = nullptr);

    // The owner calls it on every refresh.
    void Refill();

protected:
    // Empties the page's texts, then fills them from the owner's project.
    virtual void Fill() = 0;
    bool OnInitDialog() override;

    CShowPrjDlg* Owner() const { return m_owner; }
    // A label and its value (a read-only text with the control id) in a row
    // of the grid.
    QLabel* AddField(QGridLayout* grid, int row, int column, const QString& caption, int id);

private:
    CShowPrjDlg* m_owner;
};
