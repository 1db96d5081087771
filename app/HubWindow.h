#pragma once

#include <QDate>
#include <QString>

#include <functional>

class CDummyDlg;
class QWidget;

// What the hub needs of each top-level window it opens.
class IHubWindow {
public:
    virtual ~IHubWindow() = default;
    virtual QWidget* Widget() = 0;
    // Saves the window's state and closes it; flag 0 when every window closes.
    virtual void CloseWindow(int flag) = 0;
    // A search dialog of the window is open (the program may not close then).
    virtual bool HasOpenSearch() const { return false; }
    // Brought forward by its command again: lists refresh.
    virtual void Refresh() {}
    // What it could not read from the database is read again (the hub calls
    // it once a connection can be had); it tells the hub what it read.
    virtual void ReadAgain() { Refresh(); }
    // The auto timer: it is booking time now.
    virtual bool IsTiming() const { return false; }
    // Time-sheet windows: reload a day, switch editing on or off.
    virtual void RefreshDay(const QDate&) {}
    virtual void EnableEditing(bool) {}
    // 0: editable again; otherwise read-only while the auto timer books.
    virtual void SetReadOnly(int) {}
    virtual void ShowDay(const QDate&) {}
    // The options were stored: take the ones the window shows.
    virtual void ApplySettings() {}
    // A block booked elsewhere (the auto timer) on a day, for display.
    virtual void ShowRecord(const QDate& /*day*/, int /*projId*/, const QString& /*user*/,
                            int /*empId*/, int /*start*/, int /*stop*/, const QString& /*text*/)
    {}
};

// Makes the window of a command (ID_TIMESHEETS, ID_REVIEW, ...). Windows of
// the program register here; a command without a window tells the user so.
using HubWindowFactory = std::function<IHubWindow*(CDummyDlg& hub)>;
void RegisterHubWindow(int command, HubWindowFactory factory);
void UnregisterHubWindow(int command);
HubWindowFactory FindHubWindowFactory(int command);
