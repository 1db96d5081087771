#include "ui/UserCombo.h"

#include "platform/MessageBox.h"
#include "ui/ResourceIds.h"
#include "ui/SecurityDlg.h"
#include "ui/VirtualKeys.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace {
IUserRights* s_rights = nullptr;
constexpr int kOwnDataMode = 2;
} // namespace

CUserCombo::CUserCombo(QWidget* parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, &CUserCombo::OnActivated);
}

void CUserCombo::SetSecurityOwner(CSecurityDlg* owner)
{
    m_securityOwner = owner;
}

void CUserCombo::SetUserRights(IUserRights* rights)
{
    s_rights = rights;
}

IUserRights* CUserCombo::UserRights()
{
    return s_rights;
}

QString CUserCombo::RightsMessage()
{
    return QStringLiteral("You do not have rights to access other users information");
}

bool CUserCombo::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        m_tip.HandleToolTip(this, static_cast<QHelpEvent*>(event));
        return true;
    }
    return QComboBox::event(event);
}

bool CUserCombo::PassKeyToOwner(QKeyEvent* event, int message)
{
    return m_securityOwner && m_securityOwner->CommandId() == ID_TIMESHEETS &&
           m_securityOwner->HandleKey(VirtualKeyOfEvent(*event), message) == 1;
}

void CUserCombo::keyPressEvent(QKeyEvent* event)
{
    if (PassKeyToOwner(event, kWmKeyDown))
        return;
    m_indexBeforeChoice = currentIndex();
    QComboBox::keyPressEvent(event);
}

void CUserCombo::keyReleaseEvent(QKeyEvent* event)
{
    if (PassKeyToOwner(event, kWmKeyUp))
        return;
    QComboBox::keyReleaseEvent(event);
}

void CUserCombo::wheelEvent(QWheelEvent* event)
{
    m_indexBeforeChoice = currentIndex();
    QComboBox::wheelEvent(event);
}

void CUserCombo::showPopup()
{
    m_indexBeforeChoice = currentIndex();
    QComboBox::showPopup();
}

void CUserCombo::OnActivated(int index)
{
    const int before = m_indexBeforeChoice >= 0 ? m_indexBeforeChoice : currentIndex();
    m_indexBeforeChoice = index;
    if (m_reviewOwner)
        m_reviewOwner->OnProjectFilterChange(m_reviewValue);
    if (m_setUserOwner)
        m_setUserOwner->OnUserComboSelChange();
    if (!m_securityOwner)
        return;
    const int empId = itemData(index).toInt();
    m_securityOwner->SetValue(kOwnDataMode);
    const int level = s_rights ? s_rights->SecurityLevel() : 0;
    if (level == 0) {
        ShowMessageBox(RightsMessage(), kMbOk | kMbIconWarning);
        // The combo goes back to the user whose data is shown.
        if (before >= 0 && before < count() && before != currentIndex()) {
            const QSignalBlocker quiet(this);
            setCurrentIndex(before);
        }
        m_indexBeforeChoice = currentIndex();
        return;
    }
    if (!s_rights || empId != s_rights->DefaultUserEmpId())
        m_securityOwner->SetValue(level);
    if (m_securityOwner->CommandId() == ID_TIMESHEETS)
        m_securityOwner->OnSelChangeUser();
}
