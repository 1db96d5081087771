#pragma once

#include "app/Profile.h"
#include "ui/DialogBase.h"

#include <QWidget>

class CPropsDef;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// A page of the options sheet. Its controls are made with it; they are
// filled from the page's members when the page is first shown (it is then
// "opened") and read back into the members when the sheet applies. Change
// handlers hang on signals that only the user raises (clicked, activated,
// textEdited), so filling a page never marks it changed.
class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    CPropertyPage(CPropsDef& sheet, int templateId, const QString& caption);

    int TemplateId() const { return m_templateId; }
    QString Caption() const { return m_caption; }

    // The "Admin" (or, for the key page, "Keys") values the page edits.
    virtual void LoadValues(const CProfile::CValues& values);
    virtual void StoreValues(CProfile::CValues& values) const;

    // First shown in this run of the sheet.
    bool IsOpened() const { return m_opened; }
    void Open();
    bool IsChanged() const { return m_changed; }
    void ClearChanged() { m_changed = false; }

    // Reads (true) or shows (false) the members; false when a value is refused.
    bool UpdateData(bool saveAndValidate);
    // The page's apply: its OK; false when the page refused.
    virtual bool OnApply();
    virtual void OnCancel();
    // How often the page's apply ran in this run of the sheet.
    int ApplyCount() const { return m_applyCount; }

    // The control made for an id on this page (ids repeat across pages).
    template <typename W>
    W* Control(int id) const
    {
        return findChild<W*>(CDialogBase::ControlName(id));
    }

signals:
    void changed();

protected:
    virtual void OnInitPage() {}
    virtual bool DoDataExchange(bool saveAndValidate);
    virtual void OnOK() {}
    // The page and the sheet are modified (the sheet's Apply is enabled).
    void SetChanged();
    CPropsDef& Sheet() const { return m_sheet; }

    QCheckBox* NewCheck(int id, const QString& text);
    QRadioButton* NewRadio(int id, const QString& text);
    QComboBox* NewCombo(int id, const QStringList& items = {});
    QLineEdit* NewEdit(int id);
    QLabel* NewLabel(const QString& text, QWidget* buddy);
    // An integer typed in an edit; outside [min, max] the standard range
    // message is shown, the edit gets the focus and false is returned.
    bool ReadInt(QLineEdit* edit, int min, int max, int& value);
    static void Select(QComboBox* combo, int index);

private:
    CPropsDef& m_sheet;
    int m_templateId;
    QString m_caption;
    bool m_opened = false;
    bool m_changed = false;
    int m_applyCount = 0;
};
