#include "app/PropsTimeSheet.h"

#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CPropsTimeSheet::CPropsTimeSheet(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_PROPS_TIMESHEET, QStringLiteral("Time Sheet"))
{
    m_scroll = NewCombo(IDC_SCROLL_SPEED,
                        {QStringLiteral("Fast"), QStringLiteral("Medium"), QStringLiteral("Slow")});
    m_grab = NewCombo(IDC_GRAB_WIDTH, {QStringLiteral("1"), QStringLiteral("2"),
                                       QStringLiteral("3"), QStringLiteral("4")});
    m_ticks = NewCombo(IDC_MINOR_TICKS,
                       {QStringLiteral("Same as Major"), QStringLiteral("Hours:Minutes [ HH:mm]"),
                        QStringLiteral("Minutes only")});
    m_autoComment = NewCombo(IDC_AUTO_COMMENT, {QStringLiteral("None"), QStringLiteral("Work Type"),
                                                QStringLiteral("Random")});
    m_blank = NewRadio(IDC_BLANK_COMMENT, QStringLiteral("&Blank"));
    m_same = NewRadio(IDC_SAME_COMMENT, QStringLiteral("Same as &previous selected"));
    m_rememberTask = NewCheck(IDC_REMEMBER_TASK,
                              QStringLiteral("&Remember my last task selection for each project"));
    m_rememberWorkType =
        NewCheck(IDC_REMEMBER_WORK_TYPE,
                 QStringLiteral("Remember my &last work type selection for each project"));
    m_autoSave =
        NewCheck(IDC_AUTO_SHOW_SAVE, QStringLiteral("&Automatically run \"save times\"dialog"));
    m_alpha = NewCheck(IDC_TASK_ALPHA, QStringLiteral("Alphabetical  task &ordering"));
    m_reorder =
        NewCheck(IDC_REORDER_ORDERS, QStringLiteral("Reorder my orders based on &task selected"));
    m_defHeightEdit = NewEdit(IDC_DEF_HEIGHT);
    m_defWidthEdit = NewEdit(IDC_DEF_WIDTH);
    m_minHeightEdit = NewEdit(IDC_MIN_HEIGHT);
    m_minWidthEdit = NewEdit(IDC_MIN_WIDTH);
    for (QLineEdit* edit : {m_defHeightEdit, m_defWidthEdit, m_minHeightEdit, m_minWidthEdit})
        edit->setMaximumWidth(64);
    auto* defaults = new QPushButton(QStringLiteral("Set default &values"), this);
    defaults->setObjectName(QStringLiteral("setDefaultValues"));

    auto* line = new QFormLayout;
    line->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    line->addRow(NewLabel(QStringLiteral("&Scroll speed :"), m_scroll), m_scroll);
    line->addRow(NewLabel(QStringLiteral("&Grab width :"), m_grab), m_grab);
    line->addRow(NewLabel(QStringLiteral("Mi&nor Ticks"), m_ticks), m_ticks);

    auto* comment = new QGroupBox(QStringLiteral("Comment of a new entry"), this);
    auto* commentLayout = new QHBoxLayout(comment);
    commentLayout->addWidget(m_blank);
    commentLayout->addWidget(m_same);
    commentLayout->addStretch();

    auto* save = new QGroupBox(this);
    auto* saveLayout = new QVBoxLayout(save);
    saveLayout->addWidget(m_rememberTask);
    saveLayout->addWidget(m_rememberWorkType);
    saveLayout->addWidget(m_alpha);
    saveLayout->addWidget(m_reorder);
    auto* autoRow = new QHBoxLayout;
    autoRow->addWidget(m_autoSave);
    autoRow->addWidget(m_autoComment);
    autoRow->addStretch();
    saveLayout->addLayout(autoRow);

    auto* sizes = new QGroupBox(this);
    auto* grid = new QGridLayout(sizes);
    grid->addWidget(NewLabel(QStringLiteral("Default &height:"), m_defHeightEdit), 0, 0);
    grid->addWidget(m_defHeightEdit, 0, 1);
    grid->addWidget(NewLabel(QStringLiteral("Default &width:"), m_defWidthEdit), 0, 2);
    grid->addWidget(m_defWidthEdit, 0, 3);
    grid->addWidget(NewLabel(QStringLiteral("M&in height:"), m_minHeightEdit), 1, 0);
    grid->addWidget(m_minHeightEdit, 1, 1);
    grid->addWidget(NewLabel(QStringLiteral("&Min width:"), m_minWidthEdit), 1, 2);
    grid->addWidget(m_minWidthEdit, 1, 3);
    grid->addWidget(defaults, 0, 4, 2, 1, Qt::AlignVCenter);
    grid->setColumnStretch(5, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(line);
    layout->addWidget(comment);
    layout->addWidget(save);
    layout->addWidget(sizes);
    layout->addStretch();

    connect(m_scroll, &QComboBox::activated, this, [this](int index) {
        m_scrollSpeed = index == 0 ? 21 : index == 1 ? 100 : 200;
        SetChanged();
    });
    connect(m_grab, &QComboBox::activated, this, [this](int index) {
        m_grabWidth = index + 1;
        SetChanged();
    });
    connect(m_ticks, &QComboBox::activated, this, [this](int index) {
        m_tickStatus = index + 1;
        SetChanged();
    });
    connect(m_autoComment, &QComboBox::activated, this, [this](int index) {
        m_commentTypeSel = index;
        SetChanged();
    });
    connect(m_blank, &QRadioButton::clicked, this, [this] {
        m_blankComment = true;
        SetChanged();
    });
    connect(m_same, &QRadioButton::clicked, this, [this] {
        m_blankComment = false;
        SetChanged();
    });
    connect(m_rememberTask, &QCheckBox::clicked, this, [this](bool on) {
        m_taskWrite = on;
        SetChanged();
    });
    connect(m_rememberWorkType, &QCheckBox::clicked, this, [this](bool on) {
        m_workTypeWrite = on;
        SetChanged();
    });
    connect(m_autoSave, &QCheckBox::clicked, this, [this] { OnAutoShowSave(); });
    connect(m_alpha, &QCheckBox::clicked, this, [this](bool on) {
        m_showTaskAlpha = on;
        SetChanged();
    });
    connect(m_reorder, &QCheckBox::clicked, this, [this](bool on) {
        m_reorderOrders = on;
        SetChanged();
    });
    for (QLineEdit* edit : {m_defHeightEdit, m_defWidthEdit, m_minHeightEdit, m_minWidthEdit})
        connect(edit, &QLineEdit::textEdited, this, [this] { SetChanged(); });
    connect(defaults, &QPushButton::clicked, this, [this] { OnSetDefaults(); });
}

void CPropsTimeSheet::LoadValues(const CProfile::CValues& values)
{
    m_scrollSpeed = values.Int("ScrlSpd");
    m_showTaskAlpha = values.Bool("showTaskAlpha");
    // Each list shows what is stored, so values are kept to the lists.
    m_grabWidth = qBound(1, values.Int("GrabWidth"), 4);
    m_blankComment = values.Bool("BlankComment");
    m_taskWrite = values.Bool("TaskWrite");
    m_workTypeWrite = values.Bool("WorkTypeWrite");
    m_autoShowSave = values.Bool("AutoShowSave");
    m_commentTypeSel = qBound(0, values.Int("CommentTypeSel"), 2);
    m_reorderOrders = values.Bool("ReoderMyOrders");
    m_defHeight = values.Int("DefHeightVal");
    m_defWidth = values.Int("DefWidthVal");
    m_minHeight = values.Int("MinHeightVal");
    m_minWidth = values.Int("MinWidthVal");
    m_tickStatus = qBound(1, values.Int("TickStatus"), 3);
}

void CPropsTimeSheet::StoreValues(CProfile::CValues& values) const
{
    values.Set("ScrlSpd", m_scrollSpeed);
    values.Set("showTaskAlpha", m_showTaskAlpha);
    values.Set("noSmlVal", 1);
    values.Set("GrabWidth", m_grabWidth);
    values.Set("BlankComment", m_blankComment);
    values.Set("TaskWrite", m_taskWrite);
    values.Set("WorkTypeWrite", m_workTypeWrite);
    values.Set("AutoShowSave", m_autoShowSave);
    values.Set("CommentTypeSel", m_commentTypeSel);
    values.Set("ReoderMyOrders", m_reorderOrders);
    values.Set("DefHeightVal", m_defHeight);
    values.Set("DefWidthVal", m_defWidth);
    values.Set("MinHeightVal", m_minHeight);
    values.Set("MinWidthVal", m_minWidth);
    values.Set("TickStatus", m_tickStatus);
}

void CPropsTimeSheet::OnInitPage()
{
    m_scroll->setCurrentIndex(m_scrollSpeed == 100 ? 1 : m_scrollSpeed == 200 ? 2 : 0);
    Select(m_grab, m_grabWidth - 1);
    m_blank->setChecked(m_blankComment);
    m_same->setChecked(!m_blankComment);
    m_rememberTask->setChecked(m_taskWrite);
    m_rememberWorkType->setChecked(m_workTypeWrite);
    m_autoSave->setChecked(m_autoShowSave);
    m_alpha->setChecked(m_showTaskAlpha);
    m_reorder->setChecked(m_reorderOrders);
    Select(m_ticks, m_tickStatus - 1);
    Select(m_autoComment, m_commentTypeSel);
    m_autoComment->setEnabled(!m_autoShowSave);
    ShowSizes();
}

void CPropsTimeSheet::ShowSizes()
{
    m_defHeightEdit->setText(QString::number(m_defHeight));
    m_defWidthEdit->setText(QString::number(m_defWidth));
    m_minHeightEdit->setText(QString::number(m_minHeight));
    m_minWidthEdit->setText(QString::number(m_minWidth));
}

void CPropsTimeSheet::OnAutoShowSave()
{
    m_autoShowSave = m_autoSave->isChecked();
    // The save dialog asks each time, so no comment is generated meanwhile.
    m_autoComment->setEnabled(!m_autoShowSave);
    if (!m_autoShowSave)
        Select(m_autoComment, m_commentTypeSel);
    SetChanged();
}

void CPropsTimeSheet::OnSetDefaults()
{
    m_defHeight = kDefaultHeight;
    m_defWidth = kDefaultWidth;
    m_minHeight = kMinHeight;
    m_minWidth = kMinWidth;
    ShowSizes();
    SetChanged();
}

bool CPropsTimeSheet::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate) {
        ShowSizes();
        return true;
    }
    int height = 0;
    int width = 0;
    int minHeight = 0;
    int minWidth = 0;
    // Nothing is taken until every field reads.
    if (!ReadInt(m_defHeightEdit, 1, kLargestSize, height) ||
        !ReadInt(m_defWidthEdit, 1, kLargestSize, width) ||
        !ReadInt(m_minHeightEdit, 1, kLargestSize, minHeight) ||
        !ReadInt(m_minWidthEdit, 1, kLargestSize, minWidth))
        return false;
    m_defHeight = height;
    m_defWidth = width;
    m_minHeight = minHeight;
    m_minWidth = minWidth;
    m_showTaskAlpha = m_alpha->isChecked();
    m_reorderOrders = m_reorder->isChecked();
    return true;
}
