#include "data/PgConnectProbe.h"

#include "data/LibPq.h"
#include "platform/Trace.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <poll.h>

#include <string>
#include <vector>

CPgRefusal ProbePgConnect(const QStringList& keywordsAndValues, int timeoutMs)
{
    CPgRefusal refusal;
    QString why;
    if (!LoadLibPq(&why))
        return refusal;
    std::vector<std::string> texts;
    for (const QString& text : keywordsAndValues)
        texts.push_back(text.toStdString());
    std::vector<const char*> keywords;
    std::vector<const char*> values;
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2) {
        keywords.push_back(texts[i].c_str());
        values.push_back(texts[i + 1].c_str());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);

    const CLibPq& pq = Pq();
    PGconn* conn = pq.PQconnectStartParams(keywords.data(), values.data(), 0);
    if (!conn)
        return refusal;
    // Set before the server's first word: it says its code only to a client
    // that asked for verbose errors.
    pq.PQsetErrorVerbosity(conn, PQERRORS_VERBOSE);
    QElapsedTimer clock;
    clock.start();
    PostgresPollingStatusType state =
        pq.PQstatus(conn) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        const qint64 left = timeoutMs - clock.elapsed();
        pollfd watch{pq.PQsocket(conn),
                     static_cast<short>(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (left <= 0 || watch.fd < 0 || poll(&watch, 1, static_cast<int>(left)) == 0) {
            refusal.timedOut = watch.fd >= 0;
            break;
        }
        state = pq.PQconnectPoll(conn);
    }
    if (state == PGRES_POLLING_OK && pq.PQstatus(conn) == CONNECTION_OK) {
        refusal.connectsNow = true;
    } else {
        // "FATAL:  53300: sorry, too many clients already"; every code has a
        // digit, no (translated) severity word does.
        static const QRegularExpression code(
            QStringLiteral(":\\s+((?=[A-Z]*[0-9])[0-9A-Z]{5}):\\s"));
        const QString message = QString::fromUtf8(pq.PQerrorMessage(conn));
        const QRegularExpressionMatch match = code.match(message);
        if (match.hasMatch())
            refusal.sqlState = match.captured(1);
        qCInfo(lcData).noquote() << "connection refused:" << message.trimmed();
    }
    pq.PQfinish(conn);
    return refusal;
}
