#include "office/OfficeSession.h"

#include "office/OfficeBackend.h"
#include "office/OfficeError.h"
#include "office/OfficeLockFile.h"
#include "office/Spreadsheet.h"
#include "office/TextDocument.h"
#include "platform/FaultPoint.h"
#include "platform/Launcher.h"
#include "platform/MessageBox.h"
#include "platform/Trace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QProgressDialog>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QUrl>

#include <atomic>

#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

namespace {

IOfficeDocuments* s_current = nullptr;

constexpr int kStartTimeoutMs = 60000;
constexpr int kRetryMs = 100;
constexpr int kEndTimeoutMs = 5000;
constexpr int kStartAttempts = 2;
const QString kBackendLibrary = QStringLiteral("libkelvane_uno.so");

QString BackendPath()
{
    const QString configured = qEnvironmentVariable("KELVANE_OFFICE_BACKEND");
    if (!configured.isEmpty())
        return configured;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + kBackendLibrary;
}

// A title as a file name: no folder separators, nothing hidden.
QString FileNameOf(const QString& title)
{
    QString name = title.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.replace(QChar(0), QLatin1Char('-'));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("Kelvane") : name;
}

// The progress dialog while the office starts; none without a screen to show it on.
class CStartProgress {
public:
    CStartProgress()
    {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
            return;
        m_dialog = new QProgressDialog(QStringLiteral("Starting LibreOffice..."), QString(), 0, 0,
                                       QApplication::activeWindow());
        m_dialog->setWindowTitle(QStringLiteral("Kelvane"));
        m_dialog->setWindowModality(Qt::ApplicationModal);
        m_dialog->setMinimumDuration(0);
        m_dialog->setCancelButton(nullptr);
        m_dialog->show();
        Pump();
    }
    ~CStartProgress() { delete m_dialog; }
    CStartProgress(const CStartProgress&) = delete;
    CStartProgress& operator=(const CStartProgress&) = delete;

    // Keeps the dialog painted; the user's input waits until the office is up.
    static void Pump() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

private:
    QProgressDialog* m_dialog = nullptr;
};

} // namespace

COfficeSession::COfficeSession()
{
    // Writing to an office that has just died must fail the call (and be
    // told), not end the program by the signal a broken pipe raises.
    ::signal(SIGPIPE, SIG_IGN);
}

COfficeSession::~COfficeSession()
{
    Shutdown();
    // The back end stays loaded: its library is never unloaded while the
    // program runs, and the office library's own state would not survive it.
    delete m_backend;
}

IOfficeDocuments* COfficeSession::Current()
{
    return s_current;
}

void COfficeSession::SetCurrent(IOfficeDocuments* documents)
{
    s_current = documents;
}

// ---- The back end and the office process -----------------------------------------------

IOfficeBackend& COfficeSession::Backend()
{
    if (m_backend)
        return *m_backend;
    if (m_backendError.isEmpty()) {
        const QString path = BackendPath();
        // Local: the office libraries it pulls in stay out of the program's namespace.
        void* library = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* error = dlerror();
            m_backendError = error ? QString::fromLocal8Bit(error) : path;
        } else if (auto entry =
                       reinterpret_cast<OfficeBackendEntry>(dlsym(library, kOfficeBackendEntry))) {
            m_backend = entry(kOfficeBackendVersion);
            if (!m_backend)
                m_backendError = QStringLiteral("%1 is of another version").arg(path);
        } else {
            m_backendError = QStringLiteral("%1 is not an office back end").arg(path);
        }
    }
    if (!m_backend)
        throw COfficeError(m_backendError.toStdString(), COfficeError::kUnavailable);
    return *m_backend;
}

bool COfficeSession::IsAvailable(QString* reason)
{
    try {
        const QString program = Backend().OfficeProgram();
        if (QFileInfo(program).isExecutable())
            return true;
        if (reason)
            *reason = QStringLiteral("%1 is not installed").arg(program);
    } catch (const COfficeError& e) {
        if (reason)
            *reason = QString::fromStdString(e.what());
    }
    return false;
}

bool COfficeSession::IsRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

qint64 COfficeSession::ProcessGroup() const
{
    return IsRunning() ? m_group : 0;
}

IOfficeBackend& COfficeSession::Office()
{
    IOfficeBackend& backend = Backend();
    if (IsRunning() && backend.IsConnected())
        return backend;
    // Never started, ended or unreachable: a fresh office.
    StopProcess(false);
    StartProcess();
    return backend;
}

void COfficeSession::Start()
{
    Office();
}

void COfficeSession::StartProcess()
{
    IOfficeBackend& backend = Backend();
    const QString program = backend.OfficeProgram();
    if (!QFileInfo(program).isExecutable())
        throw COfficeError(QStringLiteral("%1 is not installed").arg(program).toStdString(),
                           COfficeError::kUnavailable);
    // An office can end on its very first start in a new profile (it
    // restarts itself once there, and several starting at once on a new
    // machine make that the likelier): one more start, afresh.
    for (int attempt = 1;; ++attempt) {
        if (LaunchOffice(program))
            return;
        if (attempt == kStartAttempts)
            throw COfficeError("LibreOffice ended while it was starting",
                               COfficeError::kNotStarted);
        qCWarning(lcApp) << "COfficeSession::StartProcess: the office ended while it was "
                            "starting; starting it again";
    }
}

bool COfficeSession::LaunchOffice(const QString& program)
{
    IOfficeBackend& backend = Backend();
    // Numbered for the process, not for the session: two sessions of one
    // program never share a profile (an office started on a profile in use
    // hands over to the office there and ends), nor does a program that had
    // the same process id before.
    static std::atomic<int> s_starts{0};
    const int start = ++s_starts;
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const qint64 pid = QCoreApplication::applicationPid();
    const QString token =
        QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    m_profile = QStringLiteral("%1/%2%3-%4-%5")
                    .arg(runtime, QLatin1String(kPrivateProfilePrefix), QString::number(pid),
                         QString::number(start), token);
    QDir(m_profile).removeRecursively();
    QDir().mkpath(m_profile);
    // A pipe name in use leaves the new office unreachable: one per start.
    const QString pipe = QStringLiteral("kelvane_%1_%2_%3").arg(pid).arg(start).arg(token);
    m_process = new QProcess;
    m_process->setProgram(program);
    m_process->setArguments(
        {QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nologo"),
         QStringLiteral("--norestore"), QStringLiteral("--nodefault"),
         QStringLiteral("--nolockcheck"),
         QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(m_profile).toString(),
         QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe)});
    // Its chatter (Java, fonts) is of no use to the user.
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    // Its own process group: the launcher and the office it starts end together.
    m_process->setChildProcessModifier([] { setsid(); });
    QElapsedTimer clock;
    clock.start();
    m_process->start();
    const bool started = m_process->waitForStarted(kEndTimeoutMs);
    m_group = started ? m_process->processId() : 0;
    if (!started) {
        const QString error = m_process->errorString();
        StopProcess(false);
        throw COfficeError(
            QStringLiteral("LibreOffice could not be started: %1").arg(error).toStdString(),
            COfficeError::kNotStarted);
    }
    FaultPoint("OfficeSession:launched");
    CStartProgress progress;
    while (true) {
        bool connected = false;
        try {
            connected = backend.Connect(pipe);
        } catch (const COfficeError&) {
            StopProcess(false);
            throw;
        }
        if (connected)
            break;
        // Asked, not only noted by the event loop, which may not run here.
        if (m_process->state() == QProcess::NotRunning || m_process->waitForFinished(0)) {
            StopProcess(false);
            return false;
        }
        if (clock.elapsed() > kStartTimeoutMs) {
            StopProcess(false);
            throw COfficeError("LibreOffice did not answer after it was started",
                               COfficeError::kNotStarted);
        }
        QThread::msleep(kRetryMs);
        CStartProgress::Pump();
    }
    m_lastStartMs = clock.elapsed();
    qCDebug(lcApp) << "COfficeSession::StartProcess: the office answered after" << m_lastStartMs
                   << "ms";
    return true;
}

void COfficeSession::StopProcess(bool ask)
{
    if (m_backend) {
        if (ask && IsRunning()) {
            try {
                m_backend->Terminate();
            } catch (const std::exception&) {
                m_backend->Disconnect();
            }
        } else {
            m_backend->Disconnect();
        }
    }
    if (m_process) {
        if (m_process->state() != QProcess::NotRunning && ask)
            m_process->waitForFinished(kEndTimeoutMs);
        KillGroup(ask);
        m_process->waitForFinished(kEndTimeoutMs);
        delete m_process;
        m_process = nullptr;
    }
    m_group = 0;
    if (!m_profile.isEmpty()) {
        QDir(m_profile).removeRecursively();
        m_profile.clear();
    }
}

QList<qint64> COfficeSession::GroupMembers() const
{
    QList<qint64> members;
    if (m_group <= 1 || m_profile.isEmpty())
        return members;
    // Only processes of this office's group that run on its own private
    // profile: a group id used again by others is left alone.
    const QByteArray profile = QUrl::fromLocalFile(m_profile).toString().toUtf8();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid pgrp ...": the name may hold blanks.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 3 || fields.at(2).toLongLong() != m_group)
            continue;
        QFile command(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (command.open(QIODevice::ReadOnly) && command.readAll().contains(profile))
            members << pid;
    }
    return members;
}

void COfficeSession::KillGroup(bool wait)
{
    // The launcher may end before the office it started: whatever is left
    // goes, after a moment to end on its own when it was asked to.
    QElapsedTimer clock;
    clock.start();
    while (wait && !GroupMembers().isEmpty() && clock.elapsed() < kEndTimeoutMs)
        QThread::msleep(kRetryMs);
    for (qint64 pid : GroupMembers())
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

void COfficeSession::Shutdown()
{
    StopProcess(true);
}

// ---- Documents -------------------------------------------------------------------------

template <typename Document, typename Maker>
std::unique_ptr<Document> COfficeSession::Make(Maker make)
{
    // An office that died since the check gets one fresh start.
    for (int attempt = 0;; ++attempt) {
        IOfficeBackend& office = Office();
        try {
            return make(office);
        } catch (const COfficeError& e) {
            if (!e.Lost() || attempt > 0)
                throw;
            StopProcess(false);
        }
    }
}

std::unique_ptr<ISpreadsheet> COfficeSession::NewSpreadsheet()
{
    return Make<ISpreadsheet>([](IOfficeBackend& office) { return office.NewSpreadsheet(); });
}

std::unique_ptr<ISpreadsheet> COfficeSession::OpenSpreadsheet(const QString& path)
{
    return Make<ISpreadsheet>(
        [&path](IOfficeBackend& office) { return office.OpenSpreadsheet(path); });
}

std::unique_ptr<ITextDocument> COfficeSession::NewTextDocument()
{
    return Make<ITextDocument>([](IOfficeBackend& office) { return office.NewTextDocument(); });
}

bool COfficeSession::ShowsDocuments() const
{
    switch (m_presentation) {
    case Presentation::Show:
        return true;
    case Presentation::Store:
        return false;
    case Presentation::Automatic:
        break;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

QString COfficeSession::StorePath(const QString& title, const QString& extension) const
{
    QString folder = m_storeFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    const QString base = FileNameOf(title);
    QString path = QStringLiteral("%1/%2.%3").arg(folder, base, extension);
    // Nothing the user kept is overwritten.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1/%2 (%3).%4").arg(folder, base, QString::number(n), extension);
    return path;
}

bool COfficeSession::OfficeHasWindows()
{
    if (m_officeWindows < 0) {
        // A LibreOffice without a plugin for the desktop's windows (the "nogui"
        // packages) can only work headless.
        const QDir program = QFileInfo(Backend().OfficeProgram()).absoluteDir();
        m_officeWindows = program.entryList({QStringLiteral("libvclplug_*")}).isEmpty() ? 0 : 1;
    }
    return m_officeWindows == 1;
}

namespace {

// Stores the document at a path of the presentation and closes it.
template <typename Document>
QString StoreDocument(Document& document, const QString& path)
{
    try {
        document.SaveAs(path);
    } catch (...) {
        try {
            document.Close();
        } catch (...) {
        }
        throw;
    }
    document.Close();
    return path;
}

QString TemporaryPath(const QString& title, const QString& extension)
{
    QTemporaryFile file(
        QStringLiteral("%1/%2-XXXXXX.%3").arg(QDir::tempPath(), FileNameOf(title), extension));
    file.setAutoRemove(false);
    if (!file.open())
        throw COfficeError(QStringLiteral("No temporary file for the document: %1")
                               .arg(file.errorString())
                               .toStdString());
    return file.fileName();
}

} // namespace

template <typename Document>
QString COfficeSession::PresentDocument(Document& document, const QString& title,
                                        const QString& extension)
{
    if (!ShowsDocuments())
        return StoreDocument(document, StorePath(title, extension));
    if (OfficeHasWindows()) {
        // As a new, untitled document made from the file: the user saves it where they like.
        const QString file = StoreDocument(document, TemporaryPath(title, extension));
        if (!StartProgram(Backend().OfficeProgram(), {QStringLiteral("-n"), file}))
            OpenUrl(QUrl::fromLocalFile(file));
        return file;
    }
    // Kept where the user finds it again, and opened by the desktop's program for it.
    const QString file = StoreDocument(document, StorePath(title, extension));
    if (!OpenUrl(QUrl::fromLocalFile(file)))
        ShowMessageBox(
            QStringLiteral("The document is stored as %1").arg(QDir::toNativeSeparators(file)),
            kMbOk | kMbIconInformation);
    return file;
}

QString COfficeSession::Present(ISpreadsheet& sheet, const QString& title)
{
    return PresentDocument(sheet, title, QStringLiteral("xlsx"));
}

QString COfficeSession::Present(ITextDocument& document, const QString& title)
{
    return PresentDocument(document, title, QStringLiteral("docx"));
}
