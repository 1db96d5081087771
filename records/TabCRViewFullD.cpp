#include "records/TabCRViewFullD.h"

#include "records/RichTextMenu.h"
#include "ui/RichTextCtrl.h"

#include <QLabel>
#include <QVBoxLayout>

CTabCRViewFullD::CTabCRViewFullD(QWidget* parent)
    : CTabPage(387, parent)
{
    // Enter and Escape reach the dialog that holds the tabs, as its own keys do.
    SetCommandRoute(true);
    auto* layout = new QVBoxLayout(this);
    m_details = new CRichTextCtrl(this);
    SetControlId(m_details, kIdDetails);
    m_details->setAcceptRichText(false);
    auto* label = new QLabel(QStringLiteral("&Full details :"), this);
    label->setBuddy(m_details);
    layout->addWidget(label);
    layout->addWidget(m_details, 1);
    m_textMenu = new CRichTextMenu(this);
    m_textMenu->Attach(m_details, kIdDetails);
}

bool CTabCRViewFullD::OnInitDialog()
{
    m_details->SetWordWrap(true);
    return true;
}

bool CTabCRViewFullD::OnPageCommand(int id)
{
    return m_textMenu->OnCommand(id) || CTabPage::OnPageCommand(id);
}

void CTabCRViewFullD::Load(const QString& details)
{
    m_details->SetRTF(details);
    m_loaded = m_details->toPlainText();
}

QString CTabCRViewFullD::Details() const
{
    return m_details->toPlainText();
}

bool CTabCRViewFullD::Edited() const
{
    return m_details->toPlainText() != m_loaded;
}
