#include "platform/MessageBox.h"

#include <QDebug>

namespace {
IMessageBoxHook* s_hook = nullptr;
}

int CautiousAnswer(unsigned type)
{
    switch (type & kMbButtonMask) {
    case kMbOkCancel:
    case kMbRetryCancel:
    case kMbYesNoCancel:
        return kIdCancel;
    case kMbYesNo:
        return kIdNo;
    default:
        return kIdOk;
    }
}

int ShowMessageBox(const QString& text, unsigned type, const QString& caption)
{
    if (s_hook)
        return s_hook->Show(text, caption, type);
    qWarning().noquote() << "Kelvane:" << text;
    return CautiousAnswer(type);
}

void SetMessageBoxHook(IMessageBoxHook* hook)
{
    s_hook = hook;
}

IMessageBoxHook* MessageBoxHook()
{
    return s_hook;
}
