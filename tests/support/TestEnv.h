#pragma once

#include "platform/MessageBox.h"
#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace TestEnv {

// Points HOME and the XDG folders at a temporary directory for the whole
// process, before anything reads them.
void IsolateProcess();

// A fresh profile location, class registry and message recorder per test.
class PerTestIsolation : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

class GlobalCleanup : public ::testing::Environment {
public:
    void TearDown() override;
};

// The temporary folder of the running test.
QString TestDir();

} // namespace TestEnv

// Records every message box and answers from a script (then cautiously).
class CRecordingMessages : public IMessageBoxHook {
public:
    int Show(const QString& text, const QString& caption, unsigned type) override;

    void Answer(int answer) { m_answers.append(answer); }
    const QStringList& Texts() const { return m_texts; }
    QString Last() const { return m_texts.isEmpty() ? QString() : m_texts.last(); }
    int Count() const { return static_cast<int>(m_texts.size()); }
    void Clear()
    {
        m_texts.clear();
        m_answers.clear();
    }

    // The recorder of the running test.
    static CRecordingMessages& Current();

private:
    QStringList m_texts;
    QList<int> m_answers;
};
