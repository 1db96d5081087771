#pragma once

#include "data/DBConnection.h"
#include "ui/DialogBase.h"

#include <QList>
#include <QStringList>

#include <functional>

// Answers modal dialogs in order: each step gets the initialised dialog and
// returns the code it ends with. Without a step left a dialog is cancelled.
class CScriptedModals : public IModalHook {
public:
    using Step = std::function<int(CDialogBase&)>;

    CScriptedModals() { SetModalHook(this); }
    ~CScriptedModals() override { SetModalHook(nullptr); }

    void Then(Step step) { m_steps.append(std::move(step)); }
    int Run(CDialogBase& dialog) override
    {
        seen << dialog.metaObject()->className();
        if (m_steps.isEmpty()) {
            dialog.OnCommand(2);
            return 2;
        }
        return m_steps.takeFirst()(dialog);
    }
    QStringList seen;

private:
    QList<Step> m_steps;
};

// Answers the database chooser from a list, then by cancelling (""); each
// question's starting string is kept.
class CScriptedPrompt : public IConnectionPrompt {
public:
    CScriptedPrompt() { CDBConnection::SetPrompt(this); }
    ~CScriptedPrompt() override { CDBConnection::SetPrompt(nullptr); }

    void Then(const QString& answer) { m_answers.append(answer); }
    QString PromptConnectionString(const QString& current) override
    {
        seen << current;
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    QStringList seen;

private:
    QStringList m_answers;
};
