#include "records/ContactMessage.h"

#include "platform/MessageBox.h"

void ShowContactMessage(const QString& text, const QString& reason)
{
    ShowMessageBox(reason.isEmpty() ? text : text + QLatin1Char('\n') + reason,
                   kMbOk | kMbIconWarning);
}
