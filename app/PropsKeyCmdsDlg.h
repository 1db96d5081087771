#pragma once

#include "app/PropertyPage.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Key Commands": the single keys of the time-sheet window (the "Keys"
// settings the hub builds its key commands from).
class CPropsKeyCmdsDlg : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropsKeyCmdsDlg(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;

private:
    struct CTextKey {
        const char* key;
        QLineEdit* edit;
        QString value;
        QString label;
    };
    struct CChoice {
        const char* key;
        QComboBox* combo;
        int value;
    };
    void ReadControls();
    // Every typed key is one the time sheet can tell; else the first that
    // is not is named, its edit gets the focus and false is returned.
    bool CheckTypedKeys();

    std::array<CTextKey, 6> m_texts;
    std::array<CChoice, 12> m_choices;
    bool m_drawFocusRect = false;
    bool m_showButtons = false;

    QCheckBox* m_focusRect;
    QCheckBox* m_buttonNames;
};
