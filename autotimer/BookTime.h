#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimer>

#include <functional>

class CDBClass;

// What the booking engine needs of its window and of the program around it.
class IBookTimeOwner {
public:
    virtual ~IBookTimeOwner() = default;
    // The window's caption and status line follow the engine.
    virtual void UpdateWindowText() = 0;
    // The window's Go/Stop button; the engine stops through it at the daily stop time.
    virtual void OnGo() = 0;
    // Timing has ended: the window shows that it is idle again.
    virtual void OnTimingStopped() = 0;
    // The open time-sheet window, when there is one: a block booked on a day.
    virtual void PassRecordToTimesheet(const QDate& day, int projId, const QString& user, int empId,
                                       int start, int stop, const QString& text) = 0;
    virtual void SetTimesheetReadOnly(int state) = 0;
    virtual void EnableTimesheetEditing(bool enable) = 0;
    virtual void RefreshTimesheet(const QDate& day) = 0;
    // The tray icon: an animation frame (178..183) or the program's icon (102) with a tip.
    virtual void SetTrayIcon(int iconId, const QString& tip) = 0;
};

// Books the user's time while the auto timer runs: a first block at the
// current time rounded to the booking interval, stretched at every booking
// tick to the next interval boundary, cut back at stop when little of its
// last interval was used. Every row is an ordinary time-sheet row with the
// comment "Logged". Times are minutes of the booking day (0..1440).
class CBookTime {
public:
    // Results of StartTiming and CheckAndBook.
    enum Result : int {
        kFailed = 0, // also when the user would not move on from a clash: timing ends
        kBooked = 1,
        kTooManyAdvances = 2,
        kRefused = 3, // the user would not book past the daily stop time
    };
    enum TimerId : int { kBookTimerId = 12787, kTrayTimerId = 12788 };
    static constexpr int kMidnight = 1440;
    static constexpr int kTrayIcon = 102;

    CBookTime(CDBClass& db, IBookTimeOwner& owner);
    ~CBookTime();
    CBookTime(const CBookTime&) = delete;
    CBookTime& operator=(const CBookTime&) = delete;

    // kFailed without doing anything when timing already runs.
    int StartTiming(int projId, int taskId, int& start, int& stop);
    bool StopTiming();
    // Books the first block at the current time (or at the times given).
    int CheckAndBook(int projId, int taskId, int& start, int& stop, bool timesGiven);
    // Stretches the logged block to stop, short of any other row of the day.
    bool BookEntry(int projId, int orderId, int taskId, double rate, int start, int stop);
    // The booking tick (kBookTimerId) and the tray tick (kTrayTimerId).
    void TimerProc(int id);
    void OnSecondTick(int start, int stop);
    static int GetFrameIcon(int frame);
    // Whether a block ending at stop ends after the daily stop time.
    bool IsAfterStopTime(int stop) const;
    // Asks whether to book past the daily stop time; a yes holds for the run.
    bool AskToBookAfterStop();

    bool IsRunning() const { return m_running; }
    bool IsLogged() const { return m_logged; }
    // Time worked that the database has not taken yet.
    bool IsUnstored() const { return m_unstored; }
    int TimeId() const { return m_timeId; }
    int ProjectId() const { return m_projId; }
    int PreviousProjectId() const { return m_prevProjId; }
    const QString& UserName() const { return m_userName; }
    const QString& ProjectName() const { return m_projName; }
    int StartMinutes() const { return m_startMinutes; }
    int StopMinutes() const { return m_stopMinutes; }
    const QDateTime& BlockStart() const { return m_blockStart; }
    const QDateTime& BlockStop() const { return m_blockStop; }
    QDate BookingDay() const { return m_bookDay; }
    int Status() const { return m_status; }
    int Frame() const { return m_frame; }
    int Interval() const { return m_interval; }
    bool IsTimerActive(int id) const;
    int TimerInterval(int id) const;
    // The options a run books by (read again at each start).
    void LoadOptions();

private:
    bool Ask(const QString& question);
    int MinutesNow(const QDateTime& now) const;
    // The moment of a minute of the booking day (1440 is the midnight that ends it).
    QDateTime OnBookingDay(int minute) const;
    // Where a tick stretches the block to: the last interval boundary at
    // most one interval of time ahead of now.
    int StopAhead(const QDateTime& now) const;
    // Whether the block's last interval is less than half used at a stop.
    bool GivesBackLastInterval(const QDateTime& now) const;
    static QDateTime OnTheMinute(const QDateTime& moment);
    void PassBlock();
    void RestorePrevious();
    // Runs one try at the database with its messages held: a refusal is told
    // in their words, a database that cannot store now by TellUnstored.
    int Try(const std::function<int()>& step);
    // One try at storing the time worked up to stop: the first block when
    // none is stored yet, else the block stretched. kFailed only when timing
    // must end; what the database did not take stays unstored.
    int Store(int stop);
    // The first block the database did not take, kept for the next try.
    void KeepFirstBlock(int start, int stop);
    // Timing goes on with the time up to wantedStop in hand.
    void NoteUnstored(int wantedStop);
    void NoteStored();
    // Once until something is stored again.
    void TellUnstored();
    // Where the unstored time begins.
    int UnstoredSince() const { return m_logged ? m_stopMinutes : m_startMinutes; }
    // Whether a write failed in the database rather than being refused.
    static bool IsDatabaseFailure(int written);

    CDBClass& m_db;
    IBookTimeOwner& m_owner;
    QTimer m_bookTimer;
    QTimer m_trayTimer;

    bool m_running = false;
    bool m_logged = false;
    bool m_tipStart = false;
    bool m_tipStop = false;
    bool m_connectionHeld = false;
    int m_timeId = -1;
    QDateTime m_blockStart;
    QDateTime m_blockStop;
    QDate m_bookDay;
    QDateTime m_lastTick;
    int m_status = kFailed;

    QString m_userName;
    QString m_projName;
    QString m_prevProjName;
    int m_orderId = -1;
    int m_projId = -1;
    int m_taskId = -1;
    double m_rate = 0;
    int m_empId = -1;
    int m_prevProjId = -1;
    int m_prevStart = 0;
    int m_prevStop = 0;
    int m_startMinutes = 0;
    int m_stopMinutes = 0;

    bool m_nextFreeAnswer = false;
    bool m_questionOpen = false;
    bool m_afterStopAgreed = false;
    int m_advanceCount = 0;
    int m_frame = 1;

    // The last try failed in the database (not refused by it or the user).
    bool m_dbFailed = false;
    bool m_storing = false;
    bool m_unstored = false;
    bool m_unstoredTold = false;
    // How far the span worked reaches, stored or not.
    int m_wantedStop = 0;

    // The options of the run.
    int m_interval = 15;
    bool m_roundStart = false;
    bool m_roundStop = false;
    int m_stopLimit = kMidnight;
    int m_advanceLimit = 3;
    int m_timerMinutes = 5;
};
