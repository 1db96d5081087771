#include "ui/DialogBase.h"

#include "ui/ModalRuns.h"
#include "ui/ResourceIds.h"
#include "ui/Utilities.h"

#include <QPushButton>
#include <QTimer>

namespace {
IModalHook* s_modalHook = nullptr;
}

void SetModalHook(IModalHook* hook)
{
    s_modalHook = hook;
}

IModalHook* ModalHook()
{
    return s_modalHook;
}

CDialogBase::CDialogBase(int templateId, QWidget* parent)
    : QDialog(parent)
    , m_templateId(templateId)
{}

bool CDialogBase::EnsureInitialised()
{
    if (!m_initialised) {
        m_initialised = true;
        if (!m_placementKey.isEmpty())
            RestoreWindowPlacement(this, m_placementKey);
        m_initOk = OnInitDialog();
    }
    return m_initOk;
}

int CDialogBase::DoModal()
{
    m_endCode = 0;
    // Over a window that is closing nothing more is asked.
    if (CModalRuns::IsClosing(this))
        return IDCANCEL;
    if (!EnsureInitialised())
        return IDCANCEL;
    const CModalRuns::CRun run(this);
    if (s_modalHook) {
        const int code = s_modalHook->Run(*this);
        if (isVisible())
            QDialog::done(code == IDOK ? Accepted : Rejected);
        return m_endCode ? m_endCode : code;
    }
    QDialog::exec();
    return m_endCode ? m_endCode : IDCANCEL;
}

bool CDialogBase::Create()
{
    if (!EnsureInitialised())
        return false;
    show();
    return true;
}

void CDialogBase::EndDialog(int code)
{
    m_endCode = code;
    if (!m_placementKey.isEmpty())
        SaveWindowPlacement(this, m_placementKey);
    QDialog::done(code == IDOK ? Accepted : Rejected);
}

void CDialogBase::done(int code)
{
    // Ended by Qt itself (a modal run or a hide): keep the code it gives.
    if (m_endCode == 0)
        m_endCode = code == Accepted ? IDOK : IDCANCEL;
    QDialog::done(code);
}

bool CDialogBase::OnCommand(int id)
{
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialogBase::PostCommand(int id)
{
    QPointer<CDialogBase> self(this);
    QTimer::singleShot(0, this, [self, id] {
        if (self)
            self->OnCommand(id);
    });
}

bool CDialogBase::UpdateData(bool saveAndValidate)
{
    DoDataExchange(saveAndValidate);
    return true;
}

void CDialogBase::DoDataExchange(bool) {}

void CDialogBase::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialogBase::OnCancel()
{
    EndDialog(IDCANCEL);
}

QPushButton* CDialogBase::AddCommandButton(const QString& text, int id)
{
    auto* button = new QPushButton(text, this);
    SetControlId(button, id);
    connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    return button;
}

void CDialogBase::showEvent(QShowEvent* event)
{
    if (!EnsureInitialised()) {
        QTimer::singleShot(0, this, [this] { EndDialog(IDCANCEL); });
        return;
    }
    QDialog::showEvent(event);
}
