#pragma once

#include <QString>

class CDBConnection;

// Whether a search can finish within its time limit, foreseen before it
// runs. A statement that must sort the rows of its base before it gives the
// first reads every one of them, however few it keeps, and each back end
// sorts about so many rows a second. It is foreseen only where the number
// is certain: a search without a filter that keeps so many rows that the
// whole base is sorted (with fewer kept, the sort drops rows as it goes).
class CSearchCost {
public:
    // From this many rows kept, a sort takes as long as one of everything.
    static constexpr int kWholeSortRows = 200000;

    // The rows the search would sort before showing one (the rows of
    // `table`, which its base lists), when sorting them takes longer than
    // limitMs; 0 when it can finish, or when that cannot be known.
    static qint64 RowsTooManyToSort(CDBConnection& connection, const QString& statement,
                                    const QString& table, bool filtered, int rowLimit, int limitMs);

private:
    // Whether the back end's plan of the statement sorts before its first row.
    static bool SortsFirst(CDBConnection& connection, const QString& statement);
};
