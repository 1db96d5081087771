#include "app/DummyDlg.h"
#include "app/KelvaneApp.h"
#include "review/ReviewDlg.h"
#include "review/ReviewWindows.h"
#include "tests/support/TestEnv.h"
#include "ui/ResourceIds.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// The whole program on a new embedded database: the hub's Review command
// opens the week review on the period of the options ("this month").
TEST(ReviewProgramTest, TheHubsReviewCommandOpensTheWeekReview)
{
    RegisterReviewWindows();
    CKelvaneApp app;
    ASSERT_TRUE(app.Start());
    app.Hub()->SetStartupDelayOverride(1000000);
    app.Hub()->Create();
    app.Hub()->OnCommand(ID_REVIEW);
    auto* review = dynamic_cast<CReviewDlg*>(app.Hub()->Window(ID_REVIEW));
    ASSERT_NE(review, nullptr) << CRecordingMessages::Current().Last().toStdString();
    const QDate today = QDate::currentDate();
    EXPECT_EQ(review->Period().start, QDate(today.year(), today.month(), 1));
    EXPECT_EQ(review->Period().Days(), today.daysInMonth());
    EXPECT_EQ(review->StatusText(),
              QStringLiteral("Total Days: %1, total number of records 0").arg(today.daysInMonth()));
    EXPECT_TRUE(review->windowTitle().endsWith(QStringLiteral(" - All")));
    app.Shutdown();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    UnregisterHubWindow(ID_REVIEW);
}
