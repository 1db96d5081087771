#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

class QCoreApplication;
class QEvent;
class QObject;

// Everything the program does for one thing the user did (a key, a click, a
// timer's tick) is one step. When the database fails in a step, the user is
// told once: the first error message says what failed and what was not done;
// the error and warning messages that follow in the same step are
// consequences of it and are left out, also those of work the step left for
// later (a window's first fill after it is shown).
//
// A step runs in actions, one for each turn of the event loop: a failure
// ends the rest of its action at once, while work of a later turn may try
// the database again.
namespace UserAction {

// The running action; a new one begins with every step and every time the
// event loop waits, except while a message box is shown.
quint64 Current();
// Begins a new step (a timer's handler, or a test acting twice in a row).
void Next();
// Watches the application's events for the start of actions.
void Install(QCoreApplication* app);
// Called with the key or press that begins a step, once the step has begun,
// before the event reaches its receiver; true keeps it from the receiver.
// The hook goes with its owner.
using StepHook = std::function<bool(QObject* receiver, QEvent* event)>;
void AddStepHook(QObject* owner, StepHook hook);

// The action met a failure of the database: it cannot finish what it does.
void NoteFailure();
bool FailureNoted();
// For the message layer: whether a plain error or warning message of this
// action is left out, because the step's failure has been told already.
// The first such message after a failure is kept and counts as the telling.
bool LeaveOutAsConsequence();

} // namespace UserAction

// What the running action does, in the words of its failure ("The block was
// not stored."): the first database failure message of the action begins with
// it. Scopes nest; the outermost, what the user asked for, speaks.
class CActionFailureText {
public:
    explicit CActionFailureText(QString text);
    ~CActionFailureText();
    CActionFailureText(const CActionFailureText&) = delete;
    CActionFailureText& operator=(const CActionFailureText&) = delete;

    // "" outside every scope.
    static QString Current();

private:
    QString m_text;
    CActionFailureText* m_outer;
};
