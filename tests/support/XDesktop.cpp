#include "tests/support/XDesktop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Generous: tests run beside others on a busy machine.
constexpr int kStartMs = 60000;

const QStringList kTools = {QStringLiteral("Xvfb"),   QStringLiteral("openbox"),
                            QStringLiteral("trayer"), QStringLiteral("xdotool"),
                            QStringLiteral("xprop"),  QStringLiteral("xwininfo")};

// How a helper program ended, with what it said, when it has.
QString Ended(QProcess* process)
{
    if (!process)
        return QStringLiteral(": it cannot be run");
    if (process->state() != QProcess::NotRunning)
        return QStringLiteral(": it runs but shows nothing");
    return QStringLiteral(": it ended with %1: %2")
        .arg(process->exitCode())
        .arg(QString::fromLocal8Bit(process->readAllStandardError()).trimmed());
}

} // namespace

CXDesktop::~CXDesktop()
{
    // The tray host and the window manager go before their server.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        QProcess& process = **it;
        if (process.state() == QProcess::NotRunning)
            continue;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
}

QProcess* CXDesktop::StartProcess(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!m_display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), m_display);
    process->setProcessEnvironment(environment);
    process->start(program, arguments);
    if (!process->waitForStarted(5000))
        return nullptr;
    m_processes.push_back(std::move(process));
    return m_processes.back().get();
}

bool CXDesktop::Start(QString* why)
{
    for (const QString& tool : kTools) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            *why = QStringLiteral("%1 is not installed (scripts/setup installs it)").arg(tool);
            return false;
        }
    }
    // The server picks a free display and prints its number.
    QProcess* server =
        StartProcess(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1280x800x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server) {
        *why = QStringLiteral("Xvfb does not start");
        return false;
    }
    QByteArray number;
    const QDeadlineTimer deadline(kStartMs);
    while (!number.contains('\n') && !deadline.hasExpired() &&
           server->state() == QProcess::Running) {
        server->waitForReadyRead(200);
        number += server->readAllStandardOutput();
    }
    number = number.trimmed();
    if (number.isEmpty()) {
        *why = QStringLiteral("Xvfb names no display");
        return false;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number);
    // The window manager as installed, but windows are minimised at once:
    // its animation holds the pointer a moment, and a click then is lost.
    QStringList managerArguments;
    QFile config(QStringLiteral("/etc/xdg/openbox/rc.xml"));
    if (m_dir.isValid() && config.open(QIODevice::ReadOnly)) {
        QByteArray text = config.readAll();
        text.replace("<animateIconify>yes</animateIconify>", "<animateIconify>no</animateIconify>");
        QFile own(m_dir.filePath(QStringLiteral("rc.xml")));
        if (own.open(QIODevice::WriteOnly) && own.write(text) == text.size())
            managerArguments << QStringLiteral("--config-file") << own.fileName();
    }
    // Each is up once it shows: the manager by its mark on the root window,
    // the tray host by its panel.
    QProcess* manager = StartProcess(QStringLiteral("openbox"), managerArguments);
    if (!manager || !WaitFor(
                        [this] {
                            return Property(0, QStringLiteral("_NET_SUPPORTING_WM_CHECK"))
                                .contains(QLatin1String("window id"));
                        },
                        kStartMs)) {
        *why = QStringLiteral("openbox does not start on %1%2").arg(m_display, Ended(manager));
        return false;
    }
    // Now and then, on a busy machine, the tray host runs and never shows
    // its panel: it gets one more start.
    for (int start = 0;; ++start) {
        QProcess* tray = StartProcess(QStringLiteral("trayer"),
                                      {QStringLiteral("--edge"), QStringLiteral("top"),
                                       QStringLiteral("--align"), QStringLiteral("right")});
        if (tray && WaitFor(
                        [this] {
                            return !Search({QStringLiteral("--onlyvisible"),
                                            QStringLiteral("--class"), QStringLiteral("trayer")})
                                        .isEmpty();
                        },
                        kStartMs))
            break;
        *why = QStringLiteral("trayer does not start on %1%2").arg(m_display, Ended(tray));
        if (!tray || start == 1)
            return false;
        tray->kill();
        tray->waitForFinished(3000);
    }
    return true;
}

QProcessEnvironment CXDesktop::ProgramEnvironment(const QString& home) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/.run"));
    environment.insert(QStringLiteral("KELVANE_CLASS_REGISTRY"),
                       home + QStringLiteral("/registry.ini"));
    return environment;
}

QString CXDesktop::Tool(const QString& program, const QStringList& arguments) const
{
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    tool.setProcessEnvironment(environment);
    tool.start(program, arguments);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QList<qulonglong> CXDesktop::Search(const QStringList& words) const
{
    QList<qulonglong> windows;
    const QString found =
        Tool(QStringLiteral("xdotool"), QStringList{QStringLiteral("search")} + words);
    for (const QString& line : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (const qulonglong id = line.trimmed().toULongLong())
            windows << id;
    return windows;
}

qulonglong CXDesktop::Shown(const QString& name) const
{
    const QList<qulonglong> found =
        Search({QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name});
    return found.isEmpty() ? 0 : found.first();
}

QString CXDesktop::Property(qulonglong window, const QString& name) const
{
    return window == 0 ? Tool(QStringLiteral("xprop"), {QStringLiteral("-root"), name})
                       : Tool(QStringLiteral("xprop"),
                              {QStringLiteral("-id"), QString::number(window), name});
}

bool CXDesktop::IsViewable(qulonglong window) const
{
    return Tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)})
        .contains(QLatin1String("IsViewable"));
}

bool CXDesktop::IsIconic(qulonglong window) const
{
    return Property(window, QStringLiteral("WM_STATE")).contains(QLatin1String("Iconic"));
}

qulonglong CXDesktop::Parent(qulonglong window) const
{
    const QString info =
        Tool(QStringLiteral("xwininfo"),
             {QStringLiteral("-children"), QStringLiteral("-id"), QString::number(window)});
    const int at = info.indexOf(QLatin1String("Parent window id: "));
    if (at < 0)
        return 0;
    const QString id = info.mid(at + 18).section(QLatin1Char(' '), 0, 0);
    return id.toULongLong(nullptr, 16);
}

bool CXDesktop::IsTrayIcon(qulonglong window) const
{
    // Embedded in a socket of the notification area's panel.
    const qulonglong socket = Parent(window);
    const qulonglong panel = socket ? Parent(socket) : 0;
    return panel && Property(panel, QStringLiteral("WM_CLASS")).contains(QLatin1String("trayer"));
}

qulonglong CXDesktop::TrayIcon(const QString& className) const
{
    for (const qulonglong window : Search({QStringLiteral("--class"), className}))
        if (IsTrayIcon(window) && IsViewable(window))
            return window;
    return 0;
}

qulonglong CXDesktop::PopupMenu(const QString& className) const
{
    // Qt's menus bypass the window manager; so do tool tips.
    for (const qulonglong window :
         Search({QStringLiteral("--onlyvisible"), QStringLiteral("--class"), className})) {
        const QString info =
            Tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
        if (!info.contains(QLatin1String("Override Redirect State: yes")) || IsTrayIcon(window) ||
            Property(window, QStringLiteral("_NET_WM_WINDOW_TYPE"))
                .contains(QLatin1String("TOOLTIP")))
            continue;
        return window;
    }
    return 0;
}

void CXDesktop::Click(qulonglong window, int button) const
{
    const QString geometry =
        Tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"),
                                         QStringLiteral("--shell"), QString::number(window)});
    int width = 2;
    int height = 2;
    for (const QString& line : geometry.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("WIDTH=")))
            width = line.mid(6).toInt();
        else if (line.startsWith(QLatin1String("HEIGHT=")))
            height = line.mid(7).toInt();
    }
    Tool(QStringLiteral("xdotool"),
         {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(window),
          QString::number(width / 2), QString::number(height / 2), QStringLiteral("click"),
          QString::number(button)});
}

void CXDesktop::Key(const QString& keys) const
{
    Tool(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
}

bool CXDesktop::Activate(qulonglong window) const
{
    Tool(QStringLiteral("xdotool"),
         {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
    return WaitFor(
        [&] {
            return Tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}).trimmed() ==
                   QString::number(window);
        },
        kWaitMs);
}

bool CXDesktop::InputIsFree() const
{
    // Free when this client may take both for itself; it lets them go at once.
    xcb_connection_t* connection = xcb_connect(m_display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_grab_pointer_reply_t* pointer = xcb_grab_pointer_reply(
        connection,
        xcb_grab_pointer(connection, 0, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                         XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    xcb_grab_keyboard_reply_t* keyboard =
        xcb_grab_keyboard_reply(connection,
                                xcb_grab_keyboard(connection, 0, root, XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr);
    const bool isFree = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS && keyboard &&
                        keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(pointer);
    std::free(keyboard);
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
    // Let go before the next tool's click is sent.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
    return isFree;
}

bool CXDesktop::WaitFor(const std::function<bool()>& condition, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    return true;
}

CXProgram::CXProgram()
{
    // The runtime folder is private, as the desktop's own would be.
    const QString run = m_home.filePath(QStringLiteral(".run"));
    QDir().mkpath(run);
    QFile::setPermissions(run,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

CXProgram::~CXProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString CXProgram::ProfileFile() const
{
    return m_home.filePath(QStringLiteral(".config/Dunmere/Kelvane.conf"));
}

bool CXProgram::Start(const CXDesktop& desktop)
{
    m_process.setProcessEnvironment(desktop.ProgramEnvironment(Home()));
    m_process.setWorkingDirectory(Home());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kelvane"), {});
    return m_process.waitForStarted();
}
