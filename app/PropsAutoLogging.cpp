#include "app/PropsAutoLogging.h"

#include "app/PropsDef.h"
#include "ui/ResourceIds.h"
#include "ui/StringTable.h"
#include "ui/Utilities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CPropsAutoLogging::CPropsAutoLogging(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_PROPS_AUTO_TIMER, QStringLiteral("Auto Timer"))
{
    m_hour = NewCombo(IDC_STOP_HOUR);
    for (int hour = 0; hour < 24; ++hour)
        m_hour->addItem(QString::number(hour));
    // The auto timer reads quarter hours, so those are what can be chosen.
    m_minute = NewCombo(IDC_STOP_MINUTE, {QStringLiteral("00"), QStringLiteral("15"),
                                          QStringLiteral("30"), QStringLiteral("45")});
    m_advance = NewEdit(IDC_ADVANCE_BOOK);
    m_advance->setMaximumWidth(40);
    m_startNearestButton =
        NewRadio(IDC_START_NEAREST, QStringLiteral("Set my start time to the &nearest 15/6 mins"));
    m_startIntervalButton =
        NewRadio(IDC_START_AT_INTERVAL,
                 QStringLiteral("Set my start time to the start of the &current interval"));
    m_stopNearestButton =
        NewRadio(IDC_STOP_NEAREST, QStringLiteral("&Set my stop time to the nearest 15/6 mins"));
    m_stopIntervalButton =
        NewRadio(IDC_STOP_AT_INTERVAL,
                 QStringLiteral("S&et my stop time to the end of the current interval"));
    m_notify =
        NewCheck(IDC_NOTIFY_REMOVED,
                 QStringLiteral("&Notify me if a block is removed (based on my properties)"));
    m_minBlock = NewCombo(IDC_MIN_BLOCK);
    for (int minutes = 0; minutes <= 10; ++minutes)
        m_minBlock->addItem(QStringLiteral("%1 min").arg(minutes));
    m_refresh = NewCombo(IDC_REFRESH_RATE, {QStringLiteral("every 1 min")});
    for (int minutes = 2; minutes <= 6; ++minutes)
        m_refresh->addItem(QStringLiteral("every %1 mins").arg(minutes));

    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(NewLabel(QStringLiteral("Stop timing at :"), m_hour));
    stopRow->addWidget(m_hour);
    stopRow->addWidget(new QLabel(QStringLiteral(":"), this));
    stopRow->addWidget(m_minute);
    stopRow->addStretch();

    // Each pair is its own group of radio buttons.
    auto* start = new QGroupBox(this);
    auto* startLayout = new QVBoxLayout(start);
    startLayout->addWidget(m_startNearestButton);
    startLayout->addWidget(m_startIntervalButton);
    auto* stop = new QGroupBox(this);
    auto* stopLayout = new QVBoxLayout(stop);
    stopLayout->addWidget(m_stopNearestButton);
    stopLayout->addWidget(m_stopIntervalButton);

    auto* advanceRow = new QHBoxLayout;
    advanceRow->addWidget(NewLabel(QStringLiteral("&Advance Book "), m_advance));
    advanceRow->addWidget(m_advance);
    advanceRow->addWidget(new QLabel(QStringLiteral("entries"), this));
    advanceRow->addStretch();

    auto* blockRow = new QHBoxLayout;
    blockRow->addWidget(
        NewLabel(QStringLiteral("Only keep timed &block if timed more than :"), m_minBlock));
    blockRow->addWidget(m_minBlock);
    blockRow->addStretch();

    auto* refreshRow = new QHBoxLayout;
    refreshRow->addWidget(NewLabel(QStringLiteral("&Rate of refresh :"), m_refresh));
    refreshRow->addWidget(m_refresh);
    refreshRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(stopRow);
    layout->addWidget(start);
    layout->addWidget(stop);
    layout->addLayout(advanceRow);
    layout->addWidget(m_notify);
    layout->addLayout(blockRow);
    layout->addLayout(refreshRow);
    layout->addStretch();

    connect(m_hour, &QComboBox::activated, this, [this](int index) {
        if (!MayChange())
            return;
        m_stopHour = index;
        SetChanged();
    });
    connect(m_minute, &QComboBox::activated, this, [this](int index) {
        if (!MayChange())
            return;
        m_stopMinute = index;
        SetChanged();
    });
    connect(m_minBlock, &QComboBox::activated, this, [this](int index) {
        if (!MayChange())
            return;
        m_minSizeDel = index;
        SetChanged();
    });
    connect(m_notify, &QCheckBox::clicked, this, [this] {
        if (!MayChange())
            return;
        m_notifyDel = !m_notifyDel;
        SetChanged();
    });
    connect(m_advance, &QLineEdit::textEdited, this, [this] {
        if (MayChange())
            SetChanged();
    });
    const auto rounding = [this](QRadioButton* button, bool& flag, bool nearest) {
        connect(button, &QRadioButton::clicked, this, [this, &flag, nearest] {
            if (!MayChange())
                return;
            flag = nearest;
            ShowRounding();
            SetChanged();
        });
    };
    rounding(m_startNearestButton, m_startNearest, true);
    rounding(m_startIntervalButton, m_startNearest, false);
    rounding(m_stopNearestButton, m_stopNearest, true);
    rounding(m_stopIntervalButton, m_stopNearest, false);
    // The refresh rate may change while timing.
    connect(m_refresh, &QComboBox::activated, this, [this](int index) {
        m_timerVal = index + 1;
        SetChanged();
    });
}

int CPropsAutoLogging::RoundingMinutes(int choice)
{
    switch (choice) {
    case 1:
        return 15;
    case 2:
        return 30;
    case 3:
        return 45;
    default:
        return 0;
    }
}

void CPropsAutoLogging::LoadValues(const CProfile::CValues& values)
{
    m_stopHour = values.Int("AutoLogStopHrVal");
    m_stopMinute = values.Int("AutoLogStopMinVal");
    // Stored 1 means "the current interval", 0 "the nearest".
    m_startNearest = !values.Bool("AutoLogRoundStart");
    m_stopNearest = !values.Bool("AutoLogRoundStop");
    m_advanceBook = values.Int("AutoLogAdvBook");
    if (m_advanceBook < 0 || m_advanceBook > 5)
        m_advanceBook = 3;
    m_notifyDel = values.Bool("AutoNotifyDel");
    m_minSizeDel = qBound(0, values.Int("AutoMinSizeDel"), 10);
    m_timerVal = values.Int("timerVal");
}

void CPropsAutoLogging::StoreValues(CProfile::CValues& values) const
{
    values.Set("AutoLogStopHrVal", m_stopHour);
    values.Set("AutoLogStopMinVal", m_stopMinute);
    values.Set("AutoLogRoundStart", !m_startNearest);
    values.Set("AutoLogRoundStop", !m_stopNearest);
    values.Set("AutoLogAdvBook", m_advanceBook >= 0 && m_advanceBook <= 5 ? m_advanceBook : 3);
    values.Set("AutoNotifyDel", m_notifyDel);
    values.Set("AutoMinSizeDel", m_minSizeDel);
    values.Set("timerVal", m_timerVal);
}

void CPropsAutoLogging::ShowMembers()
{
    // An entry that names no stored value shows the first, which is also
    // what the auto timer makes of such a value.
    const auto selectStored = [](QComboBox* combo, int value) {
        combo->setCurrentIndex(value >= 0 && value < combo->count() ? value : 0);
    };
    selectStored(m_minute, m_stopMinute);
    selectStored(m_hour, m_stopHour);
    Select(m_minBlock, m_minSizeDel);
    m_notify->setChecked(m_notifyDel);
    Select(m_refresh, m_timerVal - 1);
    m_advance->setText(QString::number(m_advanceBook));
    ShowRounding();
}

void CPropsAutoLogging::OnInitPage()
{
    ShowMembers();
    if (Sheet().IsAutoLogging()) {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 m_hour, m_minute, m_advance, m_stopIntervalButton, m_stopNearestButton,
                 m_startNearestButton, m_startIntervalButton, m_notify, m_minBlock, m_refresh})
            control->setEnabled(false);
        ShowStringMessage(IDS_NO_PROPERTIES_WHILE_LOGGING);
    }
}

void CPropsAutoLogging::ShowRounding()
{
    m_startNearestButton->setChecked(m_startNearest);
    m_startIntervalButton->setChecked(!m_startNearest);
    m_stopNearestButton->setChecked(m_stopNearest);
    m_stopIntervalButton->setChecked(!m_stopNearest);
}

bool CPropsAutoLogging::MayChange()
{
    if (!Sheet().IsAutoLogging())
        return true;
    ShowStringMessage(IDS_NO_PROPERTIES_WHILE_LOGGING);
    ShowMembers();
    return false;
}

bool CPropsAutoLogging::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate)
        return true;
    // While timing the page is locked: what it holds stays as loaded.
    if (Sheet().IsAutoLogging())
        return true;
    int advance = 0;
    if (!ReadInt(m_advance, 0, 5, advance))
        return false;
    m_advanceBook = advance;
    if (m_minBlock->currentIndex() >= 0)
        m_minSizeDel = m_minBlock->currentIndex();
    return true;
}
