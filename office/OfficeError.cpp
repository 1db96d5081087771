#include "office/OfficeError.h"

#include "platform/Trace.h"

QString OfficeFailureText(const std::exception& error)
{
    const QString text = QString::fromStdString(error.what());
    const auto* office = dynamic_cast<const COfficeError*>(&error);
    if (office && !office->Detail().empty())
        qCWarning(lcApp).noquote()
            << text
            << "(LibreOffice:" << QString::fromStdString(office->Detail()) + QLatin1Char(')');
    return text;
}
