#include "data/UndoHistory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts live records, so a step that is dropped can be seen to be freed.
class CCountedRecord : public CUndoRecord {
public:
    explicit CCountedRecord(int timeId)
    {
        m_TimeID = timeId;
        ++s_live;
    }
    ~CCountedRecord() override { --s_live; }
    static int s_live;
};
int CCountedRecord::s_live = 0;

std::unique_ptr<CUndoStep> Step(int kind, int timeId)
{
    return std::make_unique<CUndoStep>(kind, std::make_unique<CCountedRecord>(timeId));
}

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override { CCountedRecord::s_live = 0; }
    void TearDown() override
    {
        m_history.Clear();
        EXPECT_EQ(CCountedRecord::s_live, 0);
    }

    // Records what the callbacks were handed: kind and TimeID.
    void Record()
    {
        m_history.SetApplyCallbacks(
            [this](CUndoStep* s) {
                m_applied.push_back({'u', s->m_kind, s->m_record->m_TimeID});
                return true;
            },
            [this](CUndoStep* s) {
                m_applied.push_back({'r', s->m_kind, s->m_record->m_TimeID});
                return true;
            });
    }

    struct Applied {
        char list;
        int kind;
        int timeId;
        bool operator==(const Applied&) const = default;
    };
    CUndoHistory m_history{100};
    std::vector<Applied> m_applied;
};

} // namespace

TEST_F(UndoHistoryTest, TheHundredAndFirstStepDropsTheOldest)
{
    Record();
    for (int i = 1; i <= 101; ++i)
        m_history.PushUndo(Step(i % 2 ? CUndoStep::kInserted : CUndoStep::kDeleted, i));
    ASSERT_EQ(m_history.UndoCount(), 100);
    EXPECT_EQ(m_history.UndoAt(0)->m_record->m_TimeID, 2);
    EXPECT_EQ(CCountedRecord::s_live, 100); // the dropped step was freed
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(m_history.Undo(), 1);
    EXPECT_EQ(m_history.Undo(), 0);
    ASSERT_EQ(m_applied.size(), 100u);
    EXPECT_EQ(m_applied.front(), (Applied{'u', CUndoStep::kInserted, 101}));
    EXPECT_EQ(m_applied.back(), (Applied{'u', CUndoStep::kDeleted, 2}));
    EXPECT_EQ(m_history.RedoCount(), 100);
}

TEST_F(UndoHistoryTest, OnlyInsertsAndDeletesMoveBetweenTheLists)
{
    EXPECT_EQ(m_history.PushUndo(Step(CUndoStep::kUpdated, 1)), CUndoStep::kUpdated);
    EXPECT_EQ(m_history.PushRedo(Step(CUndoStep::kUpdated, 2)), CUndoStep::kUpdated);
    EXPECT_EQ(m_history.UndoCount() + m_history.RedoCount(), 0);
    EXPECT_EQ(CCountedRecord::s_live, 0); // refused steps are freed, not leaked

    Record();
    m_history.Push(Step(CUndoStep::kUpdated, 3)); // Push takes any kind
    m_history.PushUndo(Step(CUndoStep::kInserted, 4));
    m_history.Undo(); // the insert moves to the redo list
    m_history.Undo(); // the update is applied, then dropped
    EXPECT_EQ(m_history.UndoCount(), 0);
    ASSERT_EQ(m_history.RedoCount(), 1);
    EXPECT_EQ(m_history.NewestRedo()->m_record->m_TimeID, 4);
    EXPECT_EQ(CCountedRecord::s_live, 1);

    m_history.AppendRedo(Step(CUndoStep::kUpdated, 5)); // straight onto the list
    m_history.Redo();                                   // applied, then refused by the undo list
    m_history.Redo();
    EXPECT_EQ(m_history.RedoCount(), 0);
    ASSERT_EQ(m_history.UndoCount(), 1);
    EXPECT_EQ(m_history.NewestUndo()->m_record->m_TimeID, 4);
    EXPECT_EQ(m_applied, (std::vector<Applied>{{'u', CUndoStep::kInserted, 4},
                                               {'u', CUndoStep::kUpdated, 3},
                                               {'r', CUndoStep::kUpdated, 5},
                                               {'r', CUndoStep::kInserted, 4}}));
}

TEST_F(UndoHistoryTest, EmptyListsDoNothing)
{
    Record();
    EXPECT_EQ(m_history.Undo(), 0);
    EXPECT_EQ(m_history.Redo(), 0);
    EXPECT_TRUE(m_applied.empty());
}

TEST_F(UndoHistoryTest, AStepWhoseWriteFailedStaysWhereItWas)
{
    bool writes = false;
    m_history.SetApplyCallbacks([&](CUndoStep*) { return writes; },
                                [&](CUndoStep*) { return writes; });
    for (int i = 1; i <= 3; ++i)
        m_history.PushUndo(Step(CUndoStep::kInserted, i));
    m_history.PushRedo(Step(CUndoStep::kDeleted, 9));
    const int position = m_history.Position();

    EXPECT_EQ(m_history.Undo(), -1);
    EXPECT_EQ(m_history.Redo(), -1);
    ASSERT_EQ(m_history.UndoCount(), 3);
    EXPECT_EQ(m_history.NewestUndo()->m_record->m_TimeID, 3);
    ASSERT_EQ(m_history.RedoCount(), 1);
    EXPECT_EQ(m_history.NewestRedo()->m_record->m_TimeID, 9);
    EXPECT_EQ(m_history.Position(), position);

    // Once the database answers, the same step goes first.
    writes = true;
    EXPECT_EQ(m_history.Undo(), 1);
    EXPECT_EQ(m_history.NewestRedo()->m_record->m_TimeID, 3);
    EXPECT_EQ(m_history.NewestUndo()->m_record->m_TimeID, 2);
}
