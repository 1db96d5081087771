#include "ui/QtFileChooserHook.h"

#include "ui/ModalRuns.h"

#include <QApplication>
#include <QFileDialog>

QString CQtFileChooserHook::OpenFile(const QString& title, const QString& startPath,
                                     const QString& filters)
{
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                       : QApplication::activeWindow();
    // A window that is closing chooses nothing more.
    if (CModalRuns::IsClosing(owner))
        return QString();
    const CModalRuns::CRun run(owner);
    return QFileDialog::getOpenFileName(owner, title, startPath, filters);
}

QString CQtFileChooserHook::SaveFile(const QString& title, const QString& startPath,
                                     const QString& filters)
{
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                       : QApplication::activeWindow();
    if (CModalRuns::IsClosing(owner))
        return QString();
    const CModalRuns::CRun run(owner);
    return QFileDialog::getSaveFileName(owner, title, startPath, filters);
}
