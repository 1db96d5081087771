#include "data/records/CommentTypeSet.h"

#include <array>

namespace {

constexpr std::array<CColumnDef, 1> kColumns = {{
    Text("CommentType", 11),
}};

} // namespace

CCommentTypeSet::CCommentTypeSet(CDBConnection* connection, int firstWrittenColumn,
                                 const QString& source)
    : CBindingSet(connection, kColumns, 1, firstWrittenColumn, source)
{
    BindBuffers(m_CommentType);
}
