#include "ui/ProgressDlg.h"

#include <QApplication>
#include <QProgressDialog>

namespace {

int s_showAfterMs = 400;
int s_eventsEveryMs = 50;
constexpr int kScale = 1000;

} // namespace

void CProgressDlg::SetTiming(int showAfterMs, int eventsEveryMs)
{
    s_showAfterMs = showAfterMs;
    s_eventsEveryMs = eventsEveryMs;
}

CProgressDlg::CProgressDlg(QWidget* parent, const QString& title)
    : m_parent(parent)
    , m_title(title)
{
    m_running.start();
    m_sinceEvents.start();
    QApplication::setOverrideCursor(Qt::BusyCursor);
}

CProgressDlg::~CProgressDlg()
{
    QApplication::restoreOverrideCursor();
    delete m_dialog.data();
}

bool CProgressDlg::IsShown() const
{
    return m_dialog && m_dialog->isVisible();
}

bool CProgressDlg::IsDue() const
{
    if (m_cancelled)
        return true;
    return m_dialog ? m_sinceEvents.elapsed() >= s_eventsEveryMs
                    : m_running.elapsed() >= s_showAfterMs;
}

bool CProgressDlg::Step(const QString& text, qint64 done, qint64 total)
{
    if (m_cancelled)
        return false;
    if (!IsDue())
        return true;
    if (!m_dialog) {
        m_dialog = new QProgressDialog(text, QStringLiteral("Cancel"), 0, kScale, m_parent);
        m_dialog->setObjectName(QStringLiteral("progress"));
        m_dialog->setWindowTitle(m_title);
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->setMinimumDuration(0);
        m_dialog->setMinimumWidth(360);
        m_dialog->show();
    }
    m_dialog->setLabelText(text);
    m_dialog->setValue(
        total > 0 ? static_cast<int>(qBound(qint64(0), done * kScale / total, qint64(kScale))) : 0);
    // The only place the user is heard while the work runs.
    QApplication::processEvents();
    m_sinceEvents.restart();
    m_cancelled = !m_dialog || m_dialog->wasCanceled();
    return !m_cancelled;
}
