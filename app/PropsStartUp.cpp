#include "app/PropsStartUp.h"

#include "app/PropsDef.h"
#include "platform/MessageBox.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CPropsStartUp::CPropsStartUp(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_PROPS_START_UP, QStringLiteral("Start Up"))
{
    m_currentDay = NewCheck(IDC_CURRENT_DAY, QStringLiteral("C&urrent Day"));
    m_sameDay = NewCheck(IDC_SAME_DAY, QStringLiteral("Sa&me day as closed"));
    m_setStart = NewCheck(IDC_SET_START_TIME, QStringLiteral("&Start Time"));
    m_setIncrement = NewCheck(IDC_SET_INCREMENT, QStringLiteral("Default &Increment"));
    m_start = NewCombo(IDC_START_AT);
    m_increment = NewCombo(IDC_INCREMENT);

    auto* day = new QGroupBox(QStringLiteral("Open the time sheet on"), this);
    auto* dayLayout = new QVBoxLayout(day);
    dayLayout->addWidget(m_currentDay);
    dayLayout->addWidget(m_sameDay);

    auto* line = new QGroupBox(this);
    auto* grid = new QGridLayout(line);
    grid->addWidget(m_setStart, 0, 0);
    grid->addWidget(NewLabel(QStringLiteral("Start &at :"), m_start), 0, 1);
    grid->addWidget(m_start, 0, 2);
    grid->addWidget(m_setIncrement, 1, 0);
    grid->addWidget(NewLabel(QStringLiteral("I&ncrement :"), m_increment), 1, 1);
    grid->addWidget(m_increment, 1, 2);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(day);
    layout->addWidget(line);
    layout->addStretch();

    // The two day checks work as a pair: each click sets its own meaning.
    connect(m_currentDay, &QCheckBox::clicked, this, [this] {
        m_openCurDay = true;
        ShowOpenDay();
        SetChanged();
    });
    connect(m_sameDay, &QCheckBox::clicked, this, [this] {
        m_openCurDay = false;
        ShowOpenDay();
        SetChanged();
    });
    connect(m_setStart, &QCheckBox::clicked, this, [this] { OnSetStartTime(); });
    connect(m_setIncrement, &QCheckBox::clicked, this, [this] { OnSetIncrement(); });
    connect(m_increment, &QComboBox::activated, this,
            [this](int index) { OnIncrementChanged(index); });
    connect(m_start, &QComboBox::activated, this, [this](int index) {
        m_startTime = index;
        SetChanged();
    });
}

int CPropsStartUp::GetIncrementStep(int index, int bookingInterval)
{
    if (bookingInterval == 15)
        return index == 1 ? 30 : index == 2 ? 15 : 60;
    if (bookingInterval == 6)
        return index == 1 ? 12 : index == 2 ? 6 : 30;
    return bookingInterval;
}

int CPropsStartUp::GetIncrementRatio(int minutes, int bookingInterval)
{
    if (bookingInterval != 15 && bookingInterval != 6)
        return bookingInterval;
    if (minutes == bookingInterval)
        return 2;
    return minutes == (bookingInterval == 15 ? 30 : 12) ? 1 : 0;
}

void CPropsStartUp::LoadValues(const CProfile::CValues& values)
{
    m_openCurDay = values.Bool("OpenCurDay");
    m_setDefStartTime = values.Bool("SetDefStartTime");
    m_setDefIncrTime = values.Bool("SetDefIncrTime");
    m_startTime = values.Int("StartTime");
    m_incrIndex = GetIncrementRatio(values.Int("IncrTime"), Sheet().BookingInterval());
    m_incrMinutes = GetIncrementStep(m_incrIndex, Sheet().BookingInterval());
}

void CPropsStartUp::StoreValues(CProfile::CValues& values) const
{
    values.Set("OpenCurDay", m_openCurDay);
    values.Set("OpenSDay", !m_openCurDay);
    values.Set("SetDefStartTime", m_setDefStartTime);
    values.Set("SetDefIncrTime", m_setDefIncrTime);
    values.Set("StartTime", m_startTime);
    values.Set("IncrTime", m_incrMinutes);
}

void CPropsStartUp::OnInitPage()
{
    m_increment->clear();
    if (Sheet().BookingInterval() == 15)
        m_increment->addItems(
            {QStringLiteral("1 Hour"), QStringLiteral("30 Mins"), QStringLiteral("15 Mins")});
    else
        m_increment->addItems(
            {QStringLiteral("30 Mins"), QStringLiteral("12 Mins"), QStringLiteral("6 Mins")});
    Select(m_increment, m_incrIndex);
    ShowOpenDay();
    m_setStart->setChecked(m_setDefStartTime);
    m_setIncrement->setChecked(m_setDefIncrTime);
    m_start->setEnabled(m_setDefStartTime);
    m_increment->setEnabled(m_setDefIncrTime);
    FillStartList();
}

void CPropsStartUp::ShowOpenDay()
{
    m_currentDay->setChecked(m_openCurDay);
    m_sameDay->setChecked(!m_openCurDay);
}

void CPropsStartUp::FillStartList()
{
    const int last = m_incrMinutes == 60 ? 4 : m_incrMinutes == 30 ? 14 : 19;
    m_start->clear();
    for (int hour = 0; hour <= last; ++hour)
        m_start->addItem(QString::number(hour));
    if (m_startTime < 0 || m_startTime > last)
        m_startTime = m_incrMinutes == 60 ? 4 : 8;
    m_start->setCurrentIndex(m_startTime);
}

bool CPropsStartUp::CheckStart()
{
    int limit = 0;
    QString message;
    switch (m_incrMinutes) {
    case 60:
        limit = 4;
        message = QStringLiteral("For 1 hour increments the start time must be 4 or less");
        break;
    case 30:
        limit = 14;
        message = QStringLiteral("For 30 minute increments the start time must be 14 or less");
        break;
    case 15:
        limit = 19;
        message = QStringLiteral("For 15 minute increments the start time must be 19 or less");
        break;
    default:
        return false;
    }
    if (m_startTime <= limit)
        return false;
    ShowMessageBox(message, kMbOk | kMbIconWarning);
    m_startTime = limit;
    FillStartList();
    return true;
}

void CPropsStartUp::OnSetStartTime()
{
    m_setDefStartTime = m_setStart->isChecked();
    m_start->setEnabled(m_setDefStartTime);
    SetChanged();
}

void CPropsStartUp::OnSetIncrement()
{
    m_setDefIncrTime = m_setIncrement->isChecked();
    m_increment->setEnabled(m_setDefIncrTime);
    if (m_setDefIncrTime) {
        m_incrMinutes = GetIncrementStep(m_incrIndex, Sheet().BookingInterval());
        if (CheckStart()) {
            // The entry follows the corrected start.
            m_incrIndex = m_startTime <= 4 ? 0 : m_startTime <= 14 ? 1 : 2;
            Select(m_increment, m_incrIndex);
            m_incrMinutes = GetIncrementStep(m_incrIndex, Sheet().BookingInterval());
            FillStartList();
        }
    }
    SetChanged();
}

void CPropsStartUp::OnIncrementChanged(int index)
{
    m_incrIndex = index;
    m_incrMinutes = GetIncrementStep(index, Sheet().BookingInterval());
    if (m_setDefStartTime && m_setDefIncrTime)
        CheckStart();
    FillStartList();
    SetChanged();
}

bool CPropsStartUp::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        if (m_start->currentIndex() >= 0)
            m_startTime = m_start->currentIndex();
        if (m_increment->currentIndex() >= 0) {
            m_incrIndex = m_increment->currentIndex();
            m_incrMinutes = GetIncrementStep(m_incrIndex, Sheet().BookingInterval());
        }
    }
    return true;
}
