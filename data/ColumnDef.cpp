#include "data/ColumnDef.h"

int TextWidth(std::span<const CColumnDef> columns, const char* name)
{
    for (const CColumnDef& column : columns)
        if (column.name && column.width > 0 && name &&
            QLatin1String(name).compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0)
            return column.width;
    return 0;
}
