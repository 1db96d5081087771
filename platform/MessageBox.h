#pragma once

#include <QList>
#include <QString>

// Every message box of the program goes through ShowMessageBox, so that tests
// can answer them and the data layer can speak to the user without knowing
// any window. The program installs a hook that shows real dialogs.

// Button sets and icons; the values are the ones stored settings and callers
// have always used.
enum : unsigned {
    kMbOk = 0x0,
    kMbOkCancel = 0x1,
    kMbYesNoCancel = 0x3,
    kMbYesNo = 0x4,
    kMbRetryCancel = 0x5,
    kMbButtonMask = 0xF,
    kMbIconError = 0x10,
    kMbIconQuestion = 0x20,
    kMbIconWarning = 0x30,
    kMbIconInformation = 0x40,
    kMbIconMask = 0xF0,
};

// Answers.
enum : int {
    kIdOk = 1,
    kIdCancel = 2,
    kIdRetry = 4,
    kIdYes = 6,
    kIdNo = 7,
};

class IMessageBoxHook {
public:
    virtual ~IMessageBoxHook() = default;
    virtual int Show(const QString& text, const QString& caption, unsigned type) = 0;
};

// Shows a message and returns the answer. Without a hook the text goes to the
// log and the answer is the cautious one (Cancel, No or OK).
int ShowMessageBox(const QString& text, unsigned type = kMbOk, const QString& caption = QString());

// Whether a message box is on screen (its answer awaited).
bool MessageBoxShown();

// The hook stays owned by the caller; nullptr restores the default.
void SetMessageBoxHook(IMessageBoxHook* hook);
IMessageBoxHook* MessageBoxHook();

// The answer a message box gives when nobody can be asked.
int CautiousAnswer(unsigned type);

// Holds the plain messages shown while it lives: an attempt that may be
// repeated, or whose refusal the caller tells in its own words, releases
// them only when they matter. Questions pass straight through.
class CHeldMessages {
public:
    CHeldMessages();
    // Messages not released are dropped.
    ~CHeldMessages();
    CHeldMessages(const CHeldMessages&) = delete;
    CHeldMessages& operator=(const CHeldMessages&) = delete;

    // Shows what was held, and what comes later, as any other message.
    void Release();
    void Hold(const QString& text, const QString& caption, unsigned type);

private:
    struct CHeld {
        QString text;
        QString caption;
        unsigned type;
    };
    CHeldMessages* m_outer;
    QList<CHeld> m_held;
};
