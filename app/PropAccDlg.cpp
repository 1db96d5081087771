#include "app/PropAccDlg.h"

#include <QApplication>
#include <QKeyEvent>

CPropAccDlg::CPropAccDlg(CPropsDef& sheet, int templateId, const QString& caption,
                         int acceleratorId)
    : CPropertyPage(sheet, templateId, caption)
    , m_acceleratorId(acceleratorId)
{
    if (m_acceleratorId != -1)
        m_accelerators = CAcceleratorTable::Load(m_acceleratorId);
}

CPropAccDlg::~CPropAccDlg()
{
    if (m_filtering)
        qApp->removeEventFilter(this);
}

void CPropAccDlg::showEvent(QShowEvent* event)
{
    // Keys go to the focused control, so the page listens while it is shown.
    if (!m_filtering && !m_accelerators.IsEmpty()) {
        qApp->installEventFilter(this);
        m_filtering = true;
    }
    CPropertyPage::showEvent(event);
}

void CPropAccDlg::hideEvent(QHideEvent* event)
{
    if (m_filtering) {
        qApp->removeEventFilter(this);
        m_filtering = false;
    }
    CPropertyPage::hideEvent(event);
}

bool CPropAccDlg::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !isVisible() || (widget != this && !isAncestorOf(widget)))
        return false;
    const int id = m_accelerators.Translate(*static_cast<QKeyEvent*>(event));
    QWidget* target = id ? findChild<QWidget*>(CDialogBase::ControlName(id)) : nullptr;
    if (!target)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Taken here, so no mnemonic of the same key fires.
        event->accept();
        return true;
    }
    target->setFocus(Qt::ShortcutFocusReason);
    return true;
}
