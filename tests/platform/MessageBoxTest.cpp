#include "platform/MessageBox.h"

#include <gtest/gtest.h>

TEST(MessageBox, WithoutAnyoneToAskTheAnswerIsTheCautiousOne)
{
    IMessageBoxHook* saved = MessageBoxHook();
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Delete everything?"), kMbYesNo), kIdNo);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Retry?"), kMbRetryCancel | kMbIconError), kIdCancel);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Save?"), kMbYesNoCancel), kIdCancel);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Done.")), kIdOk);
    SetMessageBoxHook(saved);
}
