#pragma once

#include "data/BindingSet.h"

// A kind of comment.
class CCommentTypeSet : public CBindingSet {
public:
    explicit CCommentTypeSet(CDBConnection* connection, int firstWrittenColumn = 0,
                             const QString& source = QStringLiteral("tlkpCommentType"));

    QString m_CommentType;
};
