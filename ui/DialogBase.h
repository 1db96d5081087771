#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class QPushButton;

// The base of the program's dialogs: initialisation before the first show,
// OK and Cancel as overridable steps, data exchange with the controls, one
// command router, the window placement kept in the profile, and modal runs
// that tests can answer without a modal loop.
class CDialogBase : public QDialog {
    Q_OBJECT
public:
    explicit CDialogBase(int templateId, QWidget* parent = nullptr);

    int TemplateId() const { return m_templateId; }

    // Runs the dialog modally (through the modal hook when one is set) and
    // returns the code the dialog ended with (IDOK, IDCANCEL, ...).
    int DoModal();
    // Shows the dialog modeless; false when its initialisation refused.
    bool Create();
    // Ends the dialog with a code.
    void EndDialog(int code);
    int EndCode() const { return m_endCode; }

    // Runs the command; true when it was handled. The base knows OK and Cancel.
    virtual bool OnCommand(int id);
    // The command runs later, from the event loop.
    void PostCommand(int id);

    // Reads (saveAndValidate) or writes the controls; false when a value is refused.
    bool UpdateData(bool saveAndValidate = true);

    // The profile key under "Window Settings" the placement is kept under.
    void SetPlacementKey(const QString& key) { m_placementKey = key; }

    // The control created for a control id (object name "id<number>").
    template <typename W>
    W* Control(int id) const
    {
        return findChild<W*>(ControlName(id));
    }
    static QString ControlName(int id) { return QStringLiteral("id%1").arg(id); }
    static void SetControlId(QWidget* widget, int id) { widget->setObjectName(ControlName(id)); }

    // Ends a modal run from outside (tests, the modal hook).
    void accept() override { OnCommand(1); }
    void reject() override { OnCommand(2); }

protected:
    // Called once, before the dialog is first shown; false ends it.
    virtual bool OnInitDialog() { return true; }
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(bool saveAndValidate);

    // The next run initialises the dialog again (a dialog object reused
    // with new values).
    void ResetInitialised() { m_initialised = false; }

    // A button that sends its command id.
    QPushButton* AddCommandButton(const QString& text, int id);

    void showEvent(QShowEvent* event) override;
    void done(int code) override;

private:
    bool EnsureInitialised();

    int m_templateId;
    int m_endCode = 0;
    bool m_initialised = false;
    bool m_initOk = true;
    QString m_placementKey;
};

// Answers modal runs in tests: gets the initialised dialog, returns its end code.
class IModalHook {
public:
    virtual ~IModalHook() = default;
    virtual int Run(CDialogBase& dialog) = 0;
};
void SetModalHook(IModalHook* hook);
IModalHook* ModalHook();
