#include "records/ChgRqstMail.h"

#include "records/ContactLinks.h"

#include <QUrlQuery>

QUrl ChgRqstMailUrl(const QStringList& recipients, const QString& authority, int chgReqId,
                    const QString& reference, const QString& dated)
{
    QStringList addresses;
    for (const QString& recipient : recipients)
        if (!recipient.trimmed().isEmpty())
            addresses << recipient.trimmed();
    if (addresses.isEmpty())
        return QUrl();
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    // Mail programs on this desktop take several addresses separated by commas.
    url.setPath(addresses.join(QLatin1Char(',')), QUrl::DecodedMode);
    QUrlQuery query;
    const auto encoded = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text));
    };
    query.addQueryItem(QStringLiteral("subject"),
                       encoded(QStringLiteral("Change Request : id -  %1, (reference -  %2 )")
                                   .arg(QString::number(chgReqId), reference)));
    query.addQueryItem(QStringLiteral("Body"),
                       encoded(QStringLiteral("This is notification that %1 entered a change "
                                              "request [ id - %2, ( reference - %3 ) ] dated %4, "
                                              "for your consideration.")
                                   .arg(authority, QString::number(chgReqId), reference, dated)));
    url.setQuery(query);
    return url;
}

bool SendChgRqstMail(const QStringList& recipients, const QString& authority, int chgReqId,
                     const QString& reference, const QString& dated)
{
    const QUrl url = ChgRqstMailUrl(recipients, authority, chgReqId, reference, dated);
    return !url.isEmpty() && OpenMailUrl(url);
}
