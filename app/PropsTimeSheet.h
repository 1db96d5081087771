#pragma once

#include "app/PropertyPage.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// "Time Sheet": how the time line scrolls and draws, what the save dialog
// remembers, and the time-sheet window's sizes.
class CPropsTimeSheet : public CPropertyPage {
    Q_OBJECT
public:
    explicit CPropsTimeSheet(CPropsDef& sheet);

    void LoadValues(const CProfile::CValues& values) override;
    void StoreValues(CProfile::CValues& values) const override;

    static constexpr int kDefaultHeight = 444;
    static constexpr int kDefaultWidth = 568;
    static constexpr int kMinHeight = 444;
    static constexpr int kMinWidth = 225;
    // Sizes typed in the fields, in pixels.
    static constexpr int kLargestSize = 9999;

protected:
    void OnInitPage() override;
    bool DoDataExchange(bool saveAndValidate) override;

private:
    void ShowSizes();
    void OnAutoShowSave();
    void OnSetDefaults();

    int m_scrollSpeed = 100;
    bool m_showTaskAlpha = false;
    int m_grabWidth = 4;
    bool m_blankComment = true;
    bool m_taskWrite = true;
    bool m_workTypeWrite = false;
    bool m_autoShowSave = true;
    int m_commentTypeSel = 0;
    bool m_reorderOrders = true;
    int m_defHeight = kDefaultHeight;
    int m_defWidth = kDefaultWidth;
    int m_minHeight = kMinHeight;
    int m_minWidth = kMinWidth;
    int m_tickStatus = 1;

    QComboBox* m_scroll;
    QComboBox* m_grab;
    QComboBox* m_ticks;
    QComboBox* m_autoComment;
    QRadioButton* m_blank;
    QRadioButton* m_same;
    QCheckBox* m_rememberTask;
    QCheckBox* m_rememberWorkType;
    QCheckBox* m_autoSave;
    QCheckBox* m_alpha;
    QCheckBox* m_reorder;
    QLineEdit* m_defHeightEdit;
    QLineEdit* m_defWidthEdit;
    QLineEdit* m_minHeightEdit;
    QLineEdit* m_minWidthEdit;
};
