#include "records/CommentFilter.h"
#include "records/CommentColumns.h"
#include "records/CommentRecord.h"
#include "records/CommentRow.h"

#include <gtest/gtest.h>

// The caption shows the filter with its values written in; the SQL beside it
// carries every value as a bound mark.
TEST(CommentFilter, TheWrittenFilterMatchesTheBoundOne)
{
    const CCommentFilter all = CCommentFilter::Build(false, 7, 12, 1, QStringLiteral("ToDo"));
    EXPECT_EQ(all.text,
              QStringLiteral("[ProjID]= 7 AND [EmpID] = 12 AND  [CommentType]  = 'ToDo'"));
    EXPECT_EQ(all.sql, QStringLiteral("[ProjID]= ? AND [EmpID] = ? AND  [CommentType]  = ?"));
    EXPECT_EQ(all.values, QVariantList({7, 12, QStringLiteral("ToDo")}));

    const CCommentFilter user = CCommentFilter::Build(true, -1, 3, 0, QStringLiteral("All"));
    EXPECT_EQ(user.text, QStringLiteral(" [EmpID] = 3"));
    const CCommentFilter quoted = CCommentFilter::Build(true, 4, -2, 2, QStringLiteral("It's"));
    EXPECT_EQ(quoted.text, QStringLiteral("[CompanyID]= 4 AND  [CommentType]  = 'It''s'"));
    EXPECT_EQ(quoted.values, QVariantList({4, QStringLiteral("It's")}));
    EXPECT_TRUE(CCommentFilter::Build(false, -1, -2, 0, QString()).IsEmpty());
}

TEST(CommentFilter, ACellFiltersByTheStoredValueOfItsColumn)
{
    CCommentRow row;
    row.CommentID = 9;
    row.Priority = 3;
    row.PriorityText = QStringLiteral("Low");
    row.CommentDate = CDateTime(2026, 3, 5, 23, 59);
    row.ObjectID = 4;
    row.TaskName = QStringLiteral("Build");
    row.ContactName = QStringLiteral("O'Brien");
    CCommentFilter f;
    ASSERT_TRUE(CCommentFilter::ForColumn(row, CCommentColumns::kPriority, f));
    EXPECT_EQ(f.sql, QStringLiteral("[Priority] = ?"));
    EXPECT_EQ(f.values, QVariantList({3}));
    ASSERT_TRUE(CCommentFilter::ForColumn(row, CCommentColumns::kEntered, f));
    EXPECT_EQ(f.sql, QStringLiteral("([CommentDate] >= ? AND [CommentDate] < ?)"));
    EXPECT_EQ(f.values.at(1).toString(), QStringLiteral("2026-03-05 24:00:00"));
    ASSERT_TRUE(CCommentFilter::ForColumn(row, CCommentColumns::kTask, f));
    EXPECT_EQ(f.sql, QStringLiteral("[ObjectID] = ?"));
    ASSERT_TRUE(CCommentFilter::ForColumn(row, CCommentColumns::kContact, f));
    EXPECT_EQ(f.text, QStringLiteral("[ContactName] = 'O''Brien'"));
    EXPECT_FALSE(CCommentFilter::ForColumn(row, CCommentColumns::kActioned, f));
    EXPECT_FALSE(CCommentFilter::ForColumn(row, CCommentColumns::kCompany, f));
    // Years up to 1970 are no dates to show or filter by.
    row.CommentDate = CDateTime(1970, 6, 1);
    EXPECT_FALSE(CCommentFilter::ForColumn(row, CCommentColumns::kEntered, f));
}

TEST(CommentRecord, CutsNeverHalveACharacter)
{
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(CCommentRecord::Cut(QStringLiteral("ab") + smile + QStringLiteral("c"), 3),
              QStringLiteral("ab") + smile);
    EXPECT_EQ(CCommentRecord::Cut(QStringLiteral("abc"), 10), QStringLiteral("abc"));
}
