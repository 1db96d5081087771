#include "records/ProjectPage.h"

#include "ui/PlainLabel.h"

#include <QGridLayout>
#include <QLabel>

CProjectPage::CProjectPage(int templateId, CShowPrjDlg* owner, QWidget* parent)
    : CTabPage(templateId, parent)
    , m_owner(owner)
{}

void CProjectPage::Refill()
{
    Fill();
}

bool CProjectPage::OnInitDialog()
{
    Fill();
    return true;
}

QLabel* CProjectPage::AddField(QGridLayout* grid, int row, int column, const QString& caption,
                               int id)
{
    auto* value = new CPlainLabel(this);
    SetControlId(value, id);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(90);
    auto* label = new QLabel(caption, this);
    label->setBuddy(value);
    grid->addWidget(label, row, column);
    grid->addWidget(value, row, column + 1);
    return value;
}
