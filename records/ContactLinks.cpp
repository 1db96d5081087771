#include "records/ContactLinks.h"

#include "platform/Launcher.h"
#include "platform/MessageBox.h"

#include <QRegularExpression>

QUrl MailToUrl(const QString& email)
{
    QString address = email.trimmed();
    const qsizetype at = address.indexOf(QStringLiteral("mailto:"), 0, Qt::CaseInsensitive);
    if (at >= 0)
        address = address.mid(at + 7).trimmed();
    if (address.isEmpty())
        return QUrl();
    // All of it is the address: a '?' or '&' in it is encoded, so it cannot
    // add headers (an attachment, say) to the mail.
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address, QUrl::DecodedMode);
    return url;
}

QUrl WebPageUrl(const QString& text, QString* error)
{
    const QString page = text.trimmed();
    if (page.isEmpty())
        return QUrl();
    // A scheme is a word before ':' that is no host name (no dot) and not
    // followed by a port number ("localhost:8080").
    static const QRegularExpression scheme(
        QStringLiteral("^([A-Za-z][A-Za-z0-9+\\-]*):(?!\\d+(/|$))"));
    const QRegularExpressionMatch match = scheme.match(page);
    QString full = page;
    if (!match.hasMatch())
        full = QStringLiteral("http://") + page;
    const QUrl url(full, QUrl::TolerantMode);
    const QString name = url.scheme().toLower();
    if ((name == QLatin1String("http") || name == QLatin1String("https")) && url.isValid() &&
        !url.host().isEmpty())
        return url;
    if (error)
        *error = QStringLiteral("\"%1\" is not a web page: only http and https addresses are "
                                "opened.")
                     .arg(page);
    return QUrl();
}

bool OpenMailTo(const QString& email)
{
    const QUrl url = MailToUrl(email);
    if (url.isEmpty())
        return false;
    if (OpenUrl(url))
        return true;
    ShowMessageBox(
        QStringLiteral("No program to write the e-mail to %1 could be started.").arg(url.path()),
        kMbOk | kMbIconWarning);
    return false;
}

bool OpenWebPage(const QString& text)
{
    if (text.trimmed().isEmpty())
        return false;
    QString error;
    const QUrl url = WebPageUrl(text, &error);
    if (url.isEmpty()) {
        ShowMessageBox(error, kMbOk | kMbIconWarning);
        return false;
    }
    if (OpenUrl(url))
        return true;
    ShowMessageBox(
        QStringLiteral("No program to show the web page %1 could be started.").arg(url.toString()),
        kMbOk | kMbIconWarning);
    return false;
}
