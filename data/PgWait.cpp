#include "data/PgWait.h"

#include "data/DBConnection.h"
#include "data/LibPq.h"
#include "data/StatementLimit.h"
#include "platform/ActionOutcome.h"
#include "platform/FaultPoint.h"
#include "platform/Trace.h"

#include <QStringList>

#include <poll.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

const QString kSource = QStringLiteral("Database");
// Deadlines are looked at this often while the answer is awaited.
constexpr int kPollMs = 50;
// A cancelled statement's answer, or the cancel itself, takes at most this
// long on a server that still answers.
constexpr int kCancelGraceMs = 2000;
// Time left for the cancel within the limit, when the limit is long enough.
constexpr int kCancelLeadMs = 2000;
// The lock holders are asked for this long before the cancel, which waits
// for their names at most kNamingWaitMs; the question itself is stopped on
// the server after kNamingLimitMs.
constexpr int kNamingLeadMs = 1000;
constexpr int kNamingWaitMs = 500;
constexpr int kNamingLimitMs = 1500;

QString Seconds(int ms)
{
    const int seconds = qMax(1, (ms + 500) / 1000);
    return seconds == 1 ? QStringLiteral("1 second") : QStringLiteral("%1 seconds").arg(seconds);
}

// Stops the statement running on a connection from threads of their own:
// the cancel request is a connection of its own to the server, which a
// stopped server never finishes. Beside it, a short connection of its own
// asks which sessions hold the locks the statement waits for; a slow machine
// or a busy server holds the cancel back no longer than kNamingWaitMs.
class CPgStopper {
public:
    static std::shared_ptr<CPgStopper> Make(PGconn* conn)
    {
        auto stopper = std::make_shared<CPgStopper>();
        stopper->m_cancel = Pq().PQgetCancel(conn);
        stopper->m_pid = Pq().PQbackendPID(conn);
        std::string options;
        if (PQconninfoOption* given = Pq().PQconninfo(conn)) {
            for (PQconninfoOption* o = given; o->keyword; ++o) {
                const std::string keyword = o->keyword;
                if (!o->val || keyword == "connect_timeout" || keyword == "application_name")
                    continue;
                if (keyword == "options") {
                    options = o->val;
                    continue;
                }
                stopper->m_keywords.push_back(keyword);
                stopper->m_values.emplace_back(o->val);
            }
            Pq().PQconninfoFree(given);
        }
        // The question ends by itself on a server too busy to answer it.
        options += " -c statement_timeout=" + std::to_string(kNamingLimitMs);
        stopper->m_keywords.emplace_back("options");
        stopper->m_values.push_back(options);
        stopper->m_keywords.emplace_back("connect_timeout");
        stopper->m_values.emplace_back("2");
        stopper->m_keywords.emplace_back("application_name");
        stopper->m_values.emplace_back("Kelvane");
        return stopper;
    }
    ~CPgStopper()
    {
        if (m_cancel)
            Pq().PQfreeCancel(m_cancel);
    }

    // Starts asking who holds the locks; once.
    void Name(const std::shared_ptr<CPgStopper>& self)
    {
        if (m_naming)
            return;
        m_naming = true;
        std::thread([self] {
            FaultPoint("PgWait:naming");
            const QString holders = self->DescribeBlockers();
            {
                std::lock_guard<std::mutex> lock(self->m_mutex);
                self->m_holders = holders;
                self->m_named = true;
            }
            self->m_namedChanged.notify_all();
        }).detach();
    }
    // Sends the cancel once the holders are named, or kNamingWaitMs from now
    // at the latest; once.
    void Cancel(const std::shared_ptr<CPgStopper>& self)
    {
        Name(self);
        if (m_cancelling)
            return;
        m_cancelling = true;
        std::thread([self] {
            {
                std::unique_lock<std::mutex> lock(self->m_mutex);
                self->m_namedChanged.wait_for(lock, std::chrono::milliseconds(kNamingWaitMs),
                                              [&self] { return self->m_named; });
            }
            FaultPoint("PgWait:cancel");
            if (self->m_cancel) {
                char why[256];
                Pq().PQcancel(self->m_cancel, why, sizeof why);
            }
            self->m_done.store(true, std::memory_order_release);
        }).detach();
    }

    bool Done() const { return m_done.load(std::memory_order_acquire); }
    QString Holders() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_holders;
    }

private:
    QString DescribeBlockers() const
    {
        std::vector<const char*> keywords;
        std::vector<const char*> values;
        for (std::size_t i = 0; i < m_keywords.size(); ++i) {
            keywords.push_back(m_keywords[i].c_str());
            values.push_back(m_values[i].c_str());
        }
        keywords.push_back(nullptr);
        values.push_back(nullptr);
        PGconn* side = Pq().PQconnectdbParams(keywords.data(), values.data(), 0);
        QStringList holders;
        if (side && Pq().PQstatus(side) == CONNECTION_OK) {
            const QByteArray pid = QByteArray::number(m_pid);
            const char* params[] = {pid.constData()};
            PGresult* rows = Pq().PQexecParams(
                side,
                "SELECT a.pid, a.usename, a.application_name, host(a.client_addr), "
                "to_char(coalesce(a.xact_start, a.backend_start), 'HH24:MI:SS'), "
                "(SELECT string_agg(DISTINCT c.relname, ', ') FROM pg_locks l JOIN pg_class c "
                "ON c.oid = l.relation WHERE l.pid = a.pid AND l.granted AND c.relkind IN "
                "('r', 'p') AND c.relnamespace <> 'pg_catalog'::regnamespace) "
                "FROM pg_stat_activity a WHERE a.pid = ANY(pg_blocking_pids($1::int)) "
                "ORDER BY a.xact_start LIMIT 5",
                1, nullptr, params, nullptr, nullptr, 0);
            if (rows && Pq().PQresultStatus(rows) == PGRES_TUPLES_OK) {
                for (int r = 0; r < Pq().PQntuples(rows); ++r) {
                    const auto text = [&](int c) {
                        return QString::fromUtf8(Pq().PQgetvalue(rows, r, c));
                    };
                    QStringList who;
                    if (!text(1).isEmpty())
                        who << QStringLiteral("user %1").arg(text(1));
                    if (!text(2).isEmpty())
                        who << text(2);
                    if (!text(3).isEmpty())
                        who << QStringLiteral("from %1").arg(text(3));
                    QString holder = QStringLiteral("session %1 (%2)")
                                         .arg(text(0), who.join(QStringLiteral(", ")));
                    if (!text(5).isEmpty())
                        holder += QStringLiteral(" holding %1").arg(text(5));
                    holders << holder + QStringLiteral(" since %1").arg(text(4));
                }
            }
            if (rows)
                Pq().PQclear(rows);
        }
        if (side)
            Pq().PQfinish(side);
        return holders.join(QStringLiteral("; "));
    }

    PGcancel* m_cancel = nullptr;
    int m_pid = 0;
    std::vector<std::string> m_keywords;
    std::vector<std::string> m_values;
    // Set and read on the waiting thread only.
    bool m_naming = false;
    bool m_cancelling = false;
    mutable std::mutex m_mutex;
    std::condition_variable m_namedChanged;
    bool m_named = false;
    QString m_holders;
    std::atomic<bool> m_done{false};
};

} // namespace

PGresult* PgNextResult(CDBConnection& connection, PGconn* conn, CPgAnswer* answer)
{
    const CLibPq& pq = Pq();
    if (!pq.PQisBusy(conn))
        return pq.PQgetResult(conn);
    const int limit = connection.AnswerLimitMs();
    const bool ownLimit = connection.StatementLimit() != nullptr;
    const qint64 cancelAt =
        limit <= 0 ? -1 : (limit > 2 * kCancelLeadMs ? limit - kCancelLeadMs : limit);
    const qint64 nameAt = cancelAt < 0 ? -1 : qMax<qint64>(0, cancelAt - kNamingLeadMs);
    connection.BeginWait();
    std::shared_ptr<CPgStopper> stopper;
    bool cancelling = false;
    qint64 giveUpAt = -1;
    const auto noAnswer = [&] {
        qCWarning(lcData) << "no answer from the server within" << limit << "ms";
        answer->noAnswer = CDbError(
            kE_FAIL,
            QStringLiteral("The database server has not answered for %1, so the connection to "
                           "it was closed; what the server has stored shows once it answers "
                           "again.")
                .arg(Seconds(qMax(limit, static_cast<int>(giveUpAt)))),
            kSource);
        // A statement that is a transaction of its own, or the commit, may
        // still be carried out once the server gets to it: the action must
        // not say that it was not done.
        if (connection.TransactionDepth() == 0)
            UserAction::NoteOutcomeUnknown();
        // Nothing more goes to it: the connection closes once the statement
        // has unwound.
        connection.GiveUp();
        connection.NoteOutage(answer->noAnswer);
        return static_cast<PGresult*>(nullptr);
    };
    while (pq.PQisBusy(conn)) {
        const qint64 elapsed = connection.WaitElapsedMs();
        if (!cancelling) {
            if (!ownLimit && nameAt >= 0 && elapsed >= nameAt && !stopper) {
                stopper = CPgStopper::Make(conn);
                stopper->Name(stopper);
            }
            const bool stop =
                ownLimit ? !connection.KeepWaiting() : (cancelAt >= 0 && elapsed >= cancelAt);
            if (stop) {
                if (!stopper)
                    stopper = CPgStopper::Make(conn);
                stopper->Cancel(stopper);
                cancelling = true;
                giveUpAt = elapsed + kCancelGraceMs;
            }
        } else if (elapsed >= giveUpAt) {
            return noAnswer();
        }
        pollfd socket{pq.PQsocket(conn), POLLIN, 0};
        if (::poll(&socket, 1, kPollMs) < 0 && errno != EINTR)
            break;
        if (!pq.PQconsumeInput(conn))
            break;
    }
    if (cancelling) {
        // The cancel must have landed before another statement is sent, or it
        // would stop that one.
        while (!stopper->Done()) {
            if (connection.WaitElapsedMs() >= giveUpAt)
                return noAnswer();
            ::poll(nullptr, 0, 10);
        }
        if (!ownLimit ||
            connection.StatementLimit()->Stopped() != CStatementLimit::Stop::Cancelled) {
            const QString holders = stopper->Holders();
            answer->stopped =
                holders.isEmpty()
                    ? QStringLiteral("The database did not answer within %1; the statement was "
                                     "stopped.")
                          .arg(Seconds(limit))
                    : QStringLiteral("Another session keeps the data locked: %1. Kelvane waited "
                                     "%2.")
                          .arg(holders, Seconds(limit));
        }
    }
    return pq.PQgetResult(conn);
}

CDbError PgError(PGconn* conn, const PGresult* result, const CPgAnswer& answer)
{
    if (answer.noAnswer.IsError())
        return answer.noAnswer;
    const QString raw =
        QString::fromUtf8(result ? Pq().PQresultErrorMessage(result) : Pq().PQerrorMessage(conn))
            .trimmed();
    QString text = raw;
    if (text.startsWith(QLatin1String("ERROR:")))
        text = text.mid(6).trimmed();
    if (text.isEmpty())
        text = QStringLiteral("Unknown database error");
    const QString state =
        result ? QString::fromLatin1(Pq().PQresultErrorField(result, PG_DIAG_SQLSTATE)) : QString();
    HRESULT code = kE_CommandError;
    if (Pq().PQstatus(conn) != CONNECTION_OK || state.startsWith(QLatin1String("08")) ||
        state.startsWith(QLatin1String("57P"))) {
        code = kE_FAIL;
        qCWarning(lcData) << "connection lost:" << raw;
        text = QStringLiteral("The connection to the database server was lost: the server was "
                              "stopped or restarted, or the network failed.");
    } else if (state.startsWith(QLatin1String("23"))) {
        code = kE_IntegrityViolation;
    } else if (state == QLatin1String("55P03") || state == QLatin1String("57014")) {
        code = kE_Timeout; // a lock or time limit ran out
        if (!answer.stopped.isEmpty())
            text = answer.stopped;
        else if (state == QLatin1String("55P03"))
            text =
                QStringLiteral("Another session keeps the data locked; Kelvane gave up waiting.");
        else
            text = QStringLiteral("The statement was stopped before it finished.");
    } else if (state == QLatin1String("53300")) {
        text = QStringLiteral("The database server has no free connection now. Try again in a "
                              "moment, or ask the administrator to allow more connections.");
    }
    return CDbError(code, text, kSource, state.isEmpty() ? raw : state);
}
