#include "records/CommentRecord.h"

#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/records/ProjectCommentSet.h"
#include "platform/Characters.h"
#include "platform/MessageBox.h"

int CCommentRecord::Open(CDBClass& db, CProjectCommentSet& set, int commentId, QString& reason)
{
    set.Recordset()->SetQuiet(true);
    set.Recordset()->SetFilter(QStringLiteral("[CommentID] = ?"), {commentId});
    if (!db.OpenRecordSet(&set)) {
        reason = set.Recordset()->ErrorText();
        return -1;
    }
    return set.Recordset()->IsEOF() ? 0 : 1;
}

int CCommentRecord::OpenForWrite(CDBClass& db, CProjectCommentSet& set, int commentId,
                                 const QString& notDone)
{
    QString reason;
    const int found = Open(db, set, commentId, reason);
    if (found < 0)
        TellNotWritten(notDone, set);
    return found;
}

void CCommentRecord::TellNotWritten(const QString& notDone, const CProjectCommentSet& set)
{
    const CMyAdoRecordSet* rs = set.Recordset();
    ShowMessageBox(FailureMessage(notDone, rs->ErrorCode(), rs->ErrorText()), kMbOk | kMbIconError);
}

void CCommentRecord::WriteOnly(CProjectCommentSet& set, std::initializer_list<int> columns)
{
    for (int c = 0; c < set.BoundColumnCount(); ++c)
        set.SetIncluded(c, false);
    for (int c : columns)
        set.SetIncluded(c, true);
}

void CCommentRecord::SetInt(CProjectCommentSet& set, int column, int value)
{
    *static_cast<int*>(set.Descriptor(column).buffer) = value;
    set.Descriptor(column).status = adFldOK;
}

void CCommentRecord::SetNull(CProjectCommentSet& set, int column)
{
    *static_cast<int*>(set.Descriptor(column).buffer) = 0;
    set.Descriptor(column).status = adFldNull;
}

void CCommentRecord::GiveOwnCompanyWhenNone(CDBClass& db, CProjectCommentSet& set)
{
    if (!set.IsNull(kCompanyID) && set.m_CompanyID != -1)
        return;
    int companyId = -1;
    QString name;
    if (db.GetSetupCompany(companyId, name) && companyId >= 0)
        SetInt(set, kCompanyID, companyId);
    else
        SetNull(set, kCompanyID);
}

QString CCommentRecord::Cut(const QString& text, int characters)
{
    return LeftCharacters(text, characters);
}
