#pragma once

#include <QString>

#include <atomic>

#include <libpq-fe.h>

// The libpq functions the data layer calls. libpq, with the security
// libraries it brings, is loaded when the first server connection is made,
// not when the program starts: loading it would be a good part of a start on
// the embedded database, which never needs it.
#define KELVANE_LIBPQ_FUNCTIONS(X)                                                                 \
    X(PQbackendPID)                                                                                \
    X(PQcancel)                                                                                    \
    X(PQclear)                                                                                     \
    X(PQconsumeInput)                                                                              \
    X(PQcmdTuples)                                                                                 \
    X(PQconnectPoll)                                                                               \
    X(PQconnectStartParams)                                                                        \
    X(PQconnectdbParams)                                                                           \
    X(PQconninfo)                                                                                  \
    X(PQconninfoFree)                                                                              \
    X(PQerrorMessage)                                                                              \
    X(PQexec)                                                                                      \
    X(PQexecParams)                                                                                \
    X(PQexecPrepared)                                                                              \
    X(PQfinish)                                                                                    \
    X(PQfname)                                                                                     \
    X(PQfreeCancel)                                                                                \
    X(PQfreemem)                                                                                   \
    X(PQftype)                                                                                     \
    X(PQgetCancel)                                                                                 \
    X(PQgetResult)                                                                                 \
    X(PQgetisnull)                                                                                 \
    X(PQgetlength)                                                                                 \
    X(PQgetvalue)                                                                                  \
    X(PQisBusy)                                                                                    \
    X(PQnfields)                                                                                   \
    X(PQntuples)                                                                                   \
    X(PQprepare)                                                                                   \
    X(PQresultErrorField)                                                                          \
    X(PQresultErrorMessage)                                                                        \
    X(PQresultStatus)                                                                              \
    X(PQsendPrepare)                                                                               \
    X(PQsendQuery)                                                                                 \
    X(PQsendQueryParams)                                                                           \
    X(PQsendQueryPrepared)                                                                         \
    X(PQsetErrorVerbosity)                                                                         \
    X(PQsetSingleRowMode)                                                                          \
    X(PQsocket)                                                                                    \
    X(PQstatus)                                                                                    \
    X(PQtransactionStatus)                                                                         \
    X(PQunescapeBytea)

struct CLibPq {
#define KELVANE_LIBPQ_MEMBER(name) decltype(&::name) name = nullptr;
    KELVANE_LIBPQ_FUNCTIONS(KELVANE_LIBPQ_MEMBER)
#undef KELVANE_LIBPQ_MEMBER
};

// Loads libpq once; false with the reason when it cannot be loaded.
bool LoadLibPq(QString* error);
namespace LibPqDetail {
// Set once the library is loaded; read on every cell, so read without a call.
extern std::atomic<const CLibPq*> g_loaded;
const CLibPq& Load();
} // namespace LibPqDetail

// The functions, for code that holds a server connection (which needed them loaded).
inline const CLibPq& Pq()
{
    const CLibPq* loaded = LibPqDetail::g_loaded.load(std::memory_order_acquire);
    return loaded ? *loaded : LibPqDetail::Load();
}
