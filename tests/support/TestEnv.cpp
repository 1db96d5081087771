#include "tests/support/TestEnv.h"

#include "platform/UserAction.h"

#include "tests/support/TestDatabases.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

QTemporaryDir* s_processDir = nullptr;
QString s_testDir;
CRecordingMessages s_messages;

} // namespace

namespace TestEnv {

void IsolateProcess()
{
    s_processDir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/kelvane-test-XXXXXX"));
    const QString root = s_processDir->path();
    QDir(root).mkpath(QStringLiteral("config"));
    QDir(root).mkpath(QStringLiteral("data"));
    QDir(root).mkpath(QStringLiteral("cache"));
    QDir(root).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", root.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toLocal8Bit());
    qputenv("KELVANE_CLASS_REGISTRY", (root + QStringLiteral("/registry.ini")).toLocal8Bit());
}

void PerTestIsolation::OnTestStart(const ::testing::TestInfo&)
{
    m_dir =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/kelvane-case-XXXXXX"));
    s_testDir = m_dir->path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       s_testDir + QStringLiteral("/profile"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       s_testDir + QStringLiteral("/profile"));
    qputenv("KELVANE_CLASS_REGISTRY", (s_testDir + QStringLiteral("/registry.ini")).toLocal8Bit());
    // Data and cache folders of the test's own (a first start makes its database there).
    qputenv("XDG_DATA_HOME", (s_testDir + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (s_testDir + QStringLiteral("/cache")).toLocal8Bit());
    s_messages.Clear();
    SetMessageBoxHook(&s_messages);
    UserAction::Next();
}

void PerTestIsolation::OnTestEnd(const ::testing::TestInfo&)
{
    SetMessageBoxHook(nullptr);
    m_dir.reset();
    s_testDir.clear();
}

void GlobalCleanup::TearDown()
{
    TestDatabases::DropAll();
    delete s_processDir;
    s_processDir = nullptr;
}

QString TestDir()
{
    return s_testDir;
}

} // namespace TestEnv

int CRecordingMessages::Show(const QString& text, const QString&, unsigned type)
{
    m_texts.append(text);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return CautiousAnswer(type);
}

CRecordingMessages& CRecordingMessages::Current()
{
    return s_messages;
}
