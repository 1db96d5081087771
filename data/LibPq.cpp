#include "data/LibPq.h"

#include <QLibrary>

namespace {

struct CLoaded {
    CLibPq functions;
    QString error;
};

const CLoaded& Loaded()
{
    // Kept loaded for the rest of the program: connections may close late.
    static QLibrary library(QStringLiteral("pq"), 5);
    static const CLoaded loaded = [] {
        CLoaded result;
        library.setLoadHints(QLibrary::PreventUnloadHint);
        if (!library.load()) {
            result.error = library.errorString();
            return result;
        }
#define KELVANE_LIBPQ_RESOLVE(name)                                                                \
    result.functions.name =                                                                        \
        reinterpret_cast<decltype(result.functions.name)>(library.resolve(#name));                 \
    if (!result.functions.name && result.error.isEmpty())                                          \
        result.error = QStringLiteral("libpq has no function %1").arg(QLatin1String(#name));
        KELVANE_LIBPQ_FUNCTIONS(KELVANE_LIBPQ_RESOLVE)
#undef KELVANE_LIBPQ_RESOLVE
        return result;
    }();
    return loaded;
}

} // namespace

bool LoadLibPq(QString* error)
{
    const CLoaded& loaded = Loaded();
    if (loaded.error.isEmpty())
        return true;
    if (error)
        *error =
            QStringLiteral("The PostgreSQL client library cannot be loaded: %1").arg(loaded.error);
    return false;
}

namespace LibPqDetail {

std::atomic<const CLibPq*> g_loaded{nullptr};

const CLibPq& Load()
{
    const CLibPq& functions = Loaded().functions;
    g_loaded.store(&functions, std::memory_order_release);
    return functions;
}

} // namespace LibPqDetail
