#include "ui/QtFileChooserHook.h"

#include <QApplication>
#include <QFileDialog>

QString CQtFileChooserHook::OpenFile(const QString& title, const QString& startPath,
                                     const QString& filters)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startPath, filters);
}
