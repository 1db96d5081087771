#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QProgressDialog;
class QWidget;

// How far a long operation on the user-interface thread is. The window shows
// only once the operation has run for a moment; from then on each step lets
// the user press Cancel. The busy cursor shows meanwhile.
class CProgressDlg {
public:
    CProgressDlg(QWidget* parent, const QString& title);
    ~CProgressDlg();
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    // False once the user has cancelled.
    bool Step(const QString& text, qint64 done, qint64 total);
    // Whether a Step now would show or hear anything: a caller of many steps
    // makes the text only then.
    bool IsDue() const;
    bool WasCancelled() const { return m_cancelled; }
    bool IsShown() const;

    // When the window shows and how often it hears the user (tests show it
    // at once and hand over every step).
    static void SetTiming(int showAfterMs, int eventsEveryMs);

private:
    QWidget* m_parent;
    QString m_title;
    QPointer<QProgressDialog> m_dialog;
    QElapsedTimer m_running;
    QElapsedTimer m_sinceEvents;
    bool m_cancelled = false;
};
