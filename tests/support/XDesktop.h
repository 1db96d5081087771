#pragma once

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

// A desktop of its own for tests that run the real program: an X server
// (Xvfb, on a free display), a window manager (openbox) and an XEmbed
// notification area (trayer). Windows are found and driven with the X tools
// (xdotool, xprop, xwininfo) as a person would use them. Everything started
// ends with the object.
class CXDesktop {
public:
    CXDesktop() = default;
    ~CXDesktop();
    CXDesktop(const CXDesktop&) = delete;
    CXDesktop& operator=(const CXDesktop&) = delete;

    // False with the reason when a tool is missing or the desktop does not come up.
    bool Start(QString* why);
    QString Display() const { return m_display; }

    // The environment of a program on this desktop: its own home folder, the
    // X platform, and no session bus (so Qt's tray icon uses XEmbed).
    QProcessEnvironment ProgramEnvironment(const QString& home) const;

    // Runs an X tool on this desktop; its output, empty when it failed.
    QString Tool(const QString& program, const QStringList& arguments) const;
    // Windows by xdotool search words ("--class", "kelvane", ...).
    QList<qulonglong> Search(const QStringList& words) const;
    // The first shown window whose name matches, 0 when none.
    qulonglong Shown(const QString& name) const;
    // One property of a window as xprop prints it.
    QString Property(qulonglong window, const QString& name) const;
    bool IsViewable(qulonglong window) const;
    bool IsIconic(qulonglong window) const;
    // A program's icon in the notification area (the window embedded with XEmbed).
    qulonglong TrayIcon(const QString& className) const;
    // A shown popup menu of a program, 0 when none.
    qulonglong PopupMenu(const QString& className) const;
    // A button click at the middle of a window (1 left, 3 right).
    void Click(qulonglong window, int button) const;
    void Key(const QString& keys) const;
    // Makes the window the active one and waits until it has the keyboard.
    bool Activate(qulonglong window) const;
    // No program holds the pointer or the keyboard (a menu, or the window
    // manager at work): a click or key now goes where it is aimed.
    bool InputIsFree() const;

    // Waits up to ms for the condition, keeping the test's own events going.
    static bool WaitFor(const std::function<bool()>& condition, int ms);

    // Generous: tests run beside others on a busy machine.
    static constexpr int kWaitMs = 30000;

private:
    qulonglong Parent(qulonglong window) const;
    bool IsTrayIcon(qulonglong window) const;
    QProcess* StartProcess(const QString& program, const QStringList& arguments);

    QTemporaryDir m_dir;
    QString m_display;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

// The real program on a desktop, in a home of its own; killed with the object
// when still running.
class CXProgram {
public:
    CXProgram();
    ~CXProgram();
    CXProgram(const CXProgram&) = delete;
    CXProgram& operator=(const CXProgram&) = delete;

    QString Home() const { return m_home.path(); }
    // Where the program keeps its profile.
    QString ProfileFile() const;
    bool Start(const CXDesktop& desktop);
    QProcess& Process() { return m_process; }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};
