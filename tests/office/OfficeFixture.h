#pragma once

#include "office/OfficeError.h"
#include "office/OfficeSession.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <memory>

// One office for the tests of a suite, started by the first test that
// needs it; documents go to the test's own folder.
class OfficeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_session = std::make_unique<COfficeSession>(); }
    static void TearDownTestSuite() { s_session.reset(); }
    void SetUp() override
    {
        s_session->SetPresentation(COfficeSession::Presentation::Store);
        s_session->SetStoreFolder(TestEnv::TestDir() + QStringLiteral("/documents"));
    }

    static COfficeSession& Session() { return *s_session; }
    static QString Path(const QString& name)
    {
        return TestEnv::TestDir() + QLatin1Char('/') + name;
    }

    static inline std::unique_ptr<COfficeSession> s_session;
};

// Runs an office call; a failure fails the test with the office's reason.
#define OFFICE_CALL(statement)                                                                     \
    try {                                                                                          \
        statement;                                                                                 \
    } catch (const COfficeError& e) {                                                              \
        FAIL() << "office: " << e.what();                                                          \
    }
