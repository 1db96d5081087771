#include "platform/FileChooser.h"

namespace {
IFileChooserHook* s_hook = nullptr;
}

QString ChooseOpenFile(const QString& title, const QString& startPath, const QString& filters)
{
    return s_hook ? s_hook->OpenFile(title, startPath, filters) : QString();
}

QString ChooseSaveFile(const QString& title, const QString& startPath, const QString& filters)
{
    return s_hook ? s_hook->SaveFile(title, startPath, filters) : QString();
}

void SetFileChooserHook(IFileChooserHook* hook)
{
    s_hook = hook;
}
