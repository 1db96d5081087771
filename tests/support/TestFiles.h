#pragma once

#include "platform/FileChooser.h"
#include "tests/support/TestEnv.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

// A file with the bytes in the running test's folder; its path.
inline QString WriteTestFile(const QString& name, const QByteArray& bytes)
{
    const QString path = TestEnv::TestDir() + QLatin1Char('/') + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
    return path;
}

// The whole file; empty when it cannot be read.
inline QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the file choosers while it lives and writes down what each asked:
// title, start folder and filters.
class CRecordingChooser : public IFileChooserHook {
public:
    CRecordingChooser() { SetFileChooserHook(this); }
    ~CRecordingChooser() override { SetFileChooserHook(nullptr); }
    CRecordingChooser(const CRecordingChooser&) = delete;
    CRecordingChooser& operator=(const CRecordingChooser&) = delete;

    QString OpenFile(const QString& title, const QString& start, const QString& filters) override
    {
        asked << title << start << filters;
        return answer;
    }
    QStringList asked;
    QString answer;
};
