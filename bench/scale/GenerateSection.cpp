#include "bench/scale/ScaleBench.h"

#include <cstdio>

// Makes the databases of the two sizes the sections measure, so that their
// making is not timed with a section.
namespace {

const bool s_registered = RegisterScaleSection(
    {"generate", "the company's databases of 100,000 and of the scale's bookings",
     [](const CScaleBackend& backend) {
         for (const qint64 rows : {kSmallRows, ScaleRows()}) {
             CScaleDatabase database;
             if (backend.Database(rows, &database))
                 std::printf("[%s] %lld bookings: %s\n", backend.Name(),
                             static_cast<long long>(rows),
                             qPrintable(database.postgres ? QString::fromUtf8(database.conninfo)
                                                          : database.file));
         }
     }});

} // namespace
