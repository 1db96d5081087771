#pragma once

#include "platform/MessageBox.h"

#include <QList>
#include <QString>

// Holds the plain messages shown while it lives: an attempt that may be
// repeated, or whose refusal the caller tells in its own words, releases
// them only when they matter. Questions pass straight through.
class CHeldMessages : public IMessageBoxHook {
public:
    CHeldMessages()
        : m_previous(MessageBoxHook())
    {
        SetMessageBoxHook(this);
    }
    // Messages not released are dropped.
    ~CHeldMessages() override { SetMessageBoxHook(m_previous); }
    CHeldMessages(const CHeldMessages&) = delete;
    CHeldMessages& operator=(const CHeldMessages&) = delete;

    int Show(const QString& text, const QString& caption, unsigned type) override
    {
        if ((type & kMbButtonMask) != kMbOk)
            return m_previous ? m_previous->Show(text, caption, type) : CautiousAnswer(type);
        m_held.append({text, caption, type});
        return kIdOk;
    }
    void Release()
    {
        SetMessageBoxHook(m_previous);
        for (const auto& [text, caption, type] : std::as_const(m_held))
            ShowMessageBox(text, type, caption);
        m_held.clear();
    }

private:
    struct CHeld {
        QString text;
        QString caption;
        unsigned type;
    };
    IMessageBoxHook* m_previous;
    QList<CHeld> m_held;
};
