#pragma once

#include <functional>

class QObject;
class QWidget;

// The program's modal runs (dialogs, message boxes, file choosers) and the
// windows they run over. A modal run is a nested event loop; the window's
// code that started it waits beneath it, and its dialog is often an object
// on that code's stack with the window as its Qt parent. So a window closed
// while a run over it goes on has its runs ended first and is deleted only
// once the program is back in its main loop, when every nested loop and the
// window's code beneath them have returned.
class CModalRuns {
public:
    // One run, for as long as the object lives: the dialog, or for a chooser
    // whose dialog is out of reach the window it belongs to. A dialog
    // without a parent runs over the window active when it started.
    class CRun {
    public:
        explicit CRun(QWidget* widget);
        ~CRun();
        CRun(const CRun&) = delete;
        CRun& operator=(const CRun&) = delete;

        QWidget* Widget() const;
        QWidget* StartedFrom() const;

    private:
        struct CData;
        CData* m_data;
    };

    // Closes the window through its own close routine and deletes it: at
    // once when nothing runs over it, else after ending every run over it
    // (dialogs with Cancel, message boxes with their cautious answer,
    // choosers with no file, menus closed) once the program is back in its
    // main loop. A run its code starts over it meanwhile ends at once.
    static void CloseAndDelete(QWidget* window, const std::function<void()>& closeRoutine);
    // Whether a run (or a modal dialog or popup shown) is under way over the window.
    static bool HasRunsOver(const QWidget* window);
    // Whether the widget belongs to a window that is closing: a run started
    // over it ends at once, with its cancel answer.
    static bool IsClosing(const QWidget* widget);

    // Windows closed and not yet deleted.
    static bool HasPendingDeletions();
    // Runs `then` from the event loop once no closed window waits to be
    // deleted (at once, from the event loop, when none does); dropped when
    // the context goes first.
    static void AfterPendingDeletions(QObject* context, std::function<void()> then);
    // Deletes the closed windows still waiting (the program's end, after
    // its event loop).
    static void DeletePendingNow();
};
