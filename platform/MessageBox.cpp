#include "platform/MessageBox.h"

#include "platform/Trace.h"
#include "platform/UserAction.h"

#include <QDebug>

namespace {
IMessageBoxHook* s_hook = nullptr;
CHeldMessages* s_holder = nullptr;
int s_shown = 0;

bool IsPlainFailure(unsigned type)
{
    const unsigned icon = type & kMbIconMask;
    return (type & kMbButtonMask) == kMbOk && (icon == kMbIconError || icon == kMbIconWarning);
}
} // namespace

int CautiousAnswer(unsigned type)
{
    switch (type & kMbButtonMask) {
    case kMbOkCancel:
    case kMbRetryCancel:
    case kMbYesNoCancel:
        return kIdCancel;
    case kMbYesNo:
        return kIdNo;
    default:
        return kIdOk;
    }
}

int ShowMessageBox(const QString& text, unsigned type, const QString& caption)
{
    if (s_holder && (type & kMbButtonMask) == kMbOk) {
        s_holder->Hold(text, caption, type);
        return kIdOk;
    }
    if (IsPlainFailure(type) && UserAction::LeaveOutAsConsequence()) {
        qInfo().noquote() << "Kelvane: left out after the action's failure was told:" << text;
        return kIdOk;
    }
    if (!s_hook) {
        qWarning().noquote() << "Kelvane:" << text;
        return CautiousAnswer(type);
    }
    // What the user was shown, for whoever reads the trace after the fact.
    qCInfo(lcUi).noquote() << "message:" << text;
    ++s_shown;
    const int answer = s_hook->Show(text, caption, type);
    --s_shown;
    // The answer to a question is the user's next step: Retry tries again.
    if ((type & kMbButtonMask) != kMbOk)
        UserAction::Next();
    return answer;
}

bool MessageBoxShown()
{
    return s_shown > 0;
}

void SetMessageBoxHook(IMessageBoxHook* hook)
{
    s_hook = hook;
}

IMessageBoxHook* MessageBoxHook()
{
    return s_hook;
}

CHeldMessages::CHeldMessages()
    : m_outer(s_holder)
{
    s_holder = this;
}

CHeldMessages::~CHeldMessages()
{
    if (s_holder == this)
        s_holder = m_outer;
}

void CHeldMessages::Hold(const QString& text, const QString& caption, unsigned type)
{
    m_held.append({text, caption, type});
}

void CHeldMessages::Release()
{
    if (s_holder == this)
        s_holder = m_outer;
    const QList<CHeld> held = std::exchange(m_held, {});
    for (const auto& [text, caption, type] : held)
        ShowMessageBox(text, type, caption);
}
