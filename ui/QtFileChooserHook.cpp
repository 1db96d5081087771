#include "ui/QtFileChooserHook.h"

#include <QApplication>
#include <QFileDialog>

QString CQtFileChooserHook::OpenFile(const QString& title, const QString& startPath,
                                     const QString& filters)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startPath, filters);
}

QString CQtFileChooserHook::SaveFile(const QString& title, const QString& startPath,
                                     const QString& filters)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, startPath, filters);
}
