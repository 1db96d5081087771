#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT (a desktop logout, Ctrl+C in a terminal) delivered as
// a Qt signal to the thread that made this object, so the program can end
// the way it always does. The handler only writes the signal's number to a
// socket pair, whose other end a socket notifier reads. One object at a
// time; when it goes the earlier handlers come back. A signal the process
// was started ignoring (SIGINT in a background job) stays ignored.
class CTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // False when the signals could not be caught (another object holds
    // them, or no socket pair could be made): they then end the process as
    // they would anyway.
    bool IsActive() const { return m_notifier != nullptr; }

signals:
    void Received(int signalNumber);

private:
    void ReadSignals();

    QSocketNotifier* m_notifier = nullptr;
};
