#include "timesheet/ScheduleTimeDlg.h"

#include "data/DBClass.h"
#include "platform/MessageBox.h"
#include "platform/Trace.h"
#include "platform/UserAction.h"
#include "timesheet/ClashViewDlg.h"
#include "ui/ResourceIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum : int {
    kIdStartLabel = 1199,
    kIdStopLabel = 1200,
    kIdFirstLabel = 1210,
    kIdLastLabel = 1211,
};

const QString kUnableToVerify = QStringLiteral("Unable to Verify Schedule");
const QString kUnableToSchedule = QStringLiteral("Unable to Schedule \n- no time has been booked");

class CWait {
public:
    CWait() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWait() { QApplication::restoreOverrideCursor(); }
    CWait(const CWait&) = delete;
    CWait& operator=(const CWait&) = delete;
};

QString Hhmm(int minute)
{
    return QString::asprintf("%2.2i:%2.2i", minute / 60, minute % 60);
}

QLabel* Label(const QString& text, int id, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    CDialogBase::SetControlId(label, id);
    return label;
}

QDateEdit* DatePicker(int id, QWidget* parent)
{
    auto* picker = new QDateEdit(parent);
    CDialogBase::SetControlId(picker, id);
    picker->setCalendarPopup(true);
    return picker;
}

} // namespace

CScheduleTimeDlg::CScheduleTimeDlg(CDBClass& db, const CScheduleBlock& block, QWidget* parent)
    : CDialogBase(218, parent)
    , m_db(db)
    , m_block(block)
{
    setWindowTitle(QStringLiteral("Schedule Time "));

    m_startEdit = new QLineEdit(this);
    m_stopEdit = new QLineEdit(this);
    SetControlId(m_startEdit, kIdStart);
    SetControlId(m_stopEdit, kIdStop);
    for (QLineEdit* edit : {m_startEdit, m_stopEdit}) {
        edit->setReadOnly(true);
        edit->setMaximumWidth(64);
    }
    auto* times = new QHBoxLayout;
    times->addWidget(Label(QStringLiteral("Start Time:"), kIdStartLabel, this));
    times->addWidget(m_startEdit);
    times->addSpacing(16);
    times->addWidget(Label(QStringLiteral("Stop Time:"), kIdStopLabel, this));
    times->addWidget(m_stopEdit);
    times->addStretch(1);

    auto* days = new QGroupBox(QStringLiteral("Days "), this);
    auto* dayRow = new QHBoxLayout(days);
    const std::array<const char*, 7> captions = {"&Mon", "&Tues", "&Wed", "T&hur",
                                                 "&Fri", "&Sat",  "S&un"};
    for (std::size_t k = 0; k < m_boxes.size(); ++k) {
        auto* box = new QCheckBox(QString::fromLatin1(captions[k]), days);
        SetControlId(box, kDayBoxIds[k]);
        const int id = kDayBoxIds[k];
        connect(box, &QCheckBox::clicked, this, [this, id] { OnCommand(id); });
        dayRow->addWidget(box);
        m_boxes[k] = box;
    }

    m_firstEdit = DatePicker(kIdFirstDate, this);
    m_lastEdit = DatePicker(kIdLastDate, this);
    auto* firstLabel = Label(QStringLiteral("St&art:"), kIdFirstLabel, this);
    auto* lastLabel = Label(QStringLiteral("St&op:"), kIdLastLabel, this);
    firstLabel->setBuddy(m_firstEdit);
    lastLabel->setBuddy(m_lastEdit);
    connect(m_firstEdit, &QDateEdit::dateChanged, this, [this] { OnDateChanged(); });
    connect(m_lastEdit, &QDateEdit::dateChanged, this, [this] { OnDateChanged(); });
    auto* range = new QHBoxLayout;
    range->addWidget(firstLabel);
    range->addWidget(m_firstEdit);
    range->addSpacing(16);
    range->addWidget(lastLabel);
    range->addWidget(m_lastEdit);
    range->addStretch(1);

    auto* verify = AddCommandButton(QStringLiteral("&Verify"), kIdVerify);
    auto* schedule = AddCommandButton(QStringLiteral("&Schedule"), IDOK);
    auto* cancel = AddCommandButton(QStringLiteral("&Cancel"), IDCANCEL);
    schedule->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(verify);
    buttons->addWidget(schedule);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(times);
    layout->addWidget(days);
    layout->addLayout(range);
    layout->addLayout(buttons);
}

CScheduleTimeDlg::~CScheduleTimeDlg()
{
    QString reason;
    if (m_staged && !m_db.DiscardScheduleCopies(m_block.copy.EmpID, reason))
        qCWarning(lcUi, "CScheduleTimeDlg: staged copies stay: %s", qPrintable(reason));
}

bool CScheduleTimeDlg::OnInitDialog()
{
    m_startText = Hhmm(m_block.copy.Start);
    m_stopText = Hhmm(m_block.copy.Stop);
    m_first = m_block.date.addDays(1);
    m_last = m_block.date.addDays(7);

    m_dayBoxes = ScheduleDayBoxes(m_block.date);
    for (std::size_t k = 0; k < m_dayBoxes.size(); ++k)
        m_boxes[k]->setText(m_dayBoxes[k].label);
    m_checks.fill(false);
    m_weekdays.fill(false);
    m_checks[0] = true;
    m_weekdays[static_cast<std::size_t>(m_dayBoxes[0].weekdayIndex)] = true;
    m_verified = false;
    m_clashCount = 0;
    m_booked = 0;
    UpdateData(false);
    return true;
}

void CScheduleTimeDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_first = m_firstEdit->date();
        m_last = m_lastEdit->date();
        return;
    }
    m_exchanging = true;
    m_startEdit->setText(m_startText);
    m_stopEdit->setText(m_stopText);
    m_firstEdit->setDate(m_first);
    m_lastEdit->setDate(m_last);
    for (std::size_t k = 0; k < m_boxes.size(); ++k)
        m_boxes[k]->setChecked(m_checks[k]);
    m_exchanging = false;
}

bool CScheduleTimeDlg::OnCommand(int id)
{
    for (std::size_t k = 0; k < kDayBoxIds.size(); ++k) {
        if (kDayBoxIds[k] == id) {
            OnDayBox(static_cast<int>(k));
            return true;
        }
    }
    if (id == kIdVerify) {
        OnVerify();
        return true;
    }
    return CDialogBase::OnCommand(id);
}

void CScheduleTimeDlg::OnDayBox(int box)
{
    const auto k = static_cast<std::size_t>(box);
    m_checks[k] = !m_checks[k];
    const auto index = static_cast<std::size_t>(m_dayBoxes[k].weekdayIndex);
    m_weekdays[index] = !m_weekdays[index];
    m_boxes[k]->setChecked(m_checks[k]);
    m_verified = false;
}

void CScheduleTimeDlg::OnDateChanged()
{
    // Copies staged for another range must not be booked.
    if (!m_exchanging)
        m_verified = false;
}

bool CScheduleTimeDlg::InTransaction(const std::function<bool(QString&)>& work, QString& reason)
{
    CWait wait;
    CDBConnection& connection = *m_db.Connection();
    CDbError error;
    if (!m_db.EnsureConnected() || !connection.BeginTrans(&error)) {
        reason = error.description;
        return false;
    }
    if (!work(reason)) {
        connection.RollbackTrans();
        return false;
    }
    // A commit that fails has rolled back already.
    if (!connection.CommitTrans(&error)) {
        reason = error.description;
        return false;
    }
    return true;
}

bool CScheduleTimeDlg::Stage(QString& reason)
{
    UpdateData(true);
    m_verified = false;
    m_staged = true;
    const QList<QDate> days = ScheduleCopyDays(m_first, m_last, m_weekdays);
    int count = 0;
    if (!m_db.StageScheduleCopies(m_block.copy, days, reason) ||
        !m_db.CountScheduleClashes(m_block.copy.EmpID, count, reason))
        return false;
    m_clashCount = count;
    m_verified = true;
    return true;
}

bool CScheduleTimeDlg::ConfirmRange()
{
    UpdateData(true);
    const QList<QDate> days = ScheduleCopyDays(m_first, m_last, m_weekdays);
    if (days.isEmpty() || days.last() <= days.first().addYears(kYearsWithoutAsking) ||
        (m_first == m_confirmedFirst && m_last == m_confirmedLast))
        return true;
    // A mistyped year would book thousands of copies in one long step.
    const QLocale locale;
    const QString question =
        QStringLiteral("These dates give %1 copies from %2 to %3, more than a year.\n"
                       "Do you want to schedule them all?")
            .arg(days.size())
            .arg(locale.toString(days.first(), QLocale::ShortFormat),
                 locale.toString(days.last(), QLocale::ShortFormat));
    if (ShowMessageBox(question, kMbYesNo | kMbIconQuestion) != kIdYes)
        return false;
    m_confirmedFirst = m_first;
    m_confirmedLast = m_last;
    return true;
}

bool CScheduleTimeDlg::OnVerify()
{
    if (!ConfirmRange())
        return false;
    QString reason;
    bool staged = false;
    {
        const CActionFailureText failure(kUnableToVerify);
        staged = InTransaction([this](QString& why) { return Stage(why); }, reason);
    }
    if (!staged) {
        m_verified = false;
        qCWarning(lcUi, "CScheduleTimeDlg::OnVerify: %s", qPrintable(reason));
        ShowMessageBox(FailureMessage(kUnableToVerify, kE_CommandError, reason),
                       kMbOk | kMbIconWarning);
        return false;
    }
    if (m_clashCount > 0) {
        const QString question =
            QString::asprintf("%i of your records clashed with existing records.\n Do you want to "
                              "view clashing records. \n[ You can still schedule your "
                              "non-clashing records ]",
                              m_clashCount);
        if (ShowMessageBox(question, kMbYesNo | kMbIconQuestion) == kIdYes) {
            CClashViewDlg clashes(m_db, this, m_clashCount, m_block.copy.EmpID, m_block.empName,
                                  m_block.projName, m_block.taskName);
            clashes.DoModal();
        }
    } else {
        ShowMessageBox(QStringLiteral("No Clashes found"), kMbOk | kMbIconInformation);
    }
    return true;
}

void CScheduleTimeDlg::OnOK()
{
    if (!ConfirmRange())
        return;
    // The copies are staged again, checked, marked and booked in one
    // transaction, which ends before anything is shown: what is booked is
    // what the dialog shows now, whatever happened since Verify.
    QString reason;
    bool booked = false;
    {
        const CActionFailureText failure(kUnableToSchedule);
        booked = InTransaction(
            [this](QString& why) {
                return Stage(why) && m_db.ImportSchedule(m_block.copy.EmpID, m_booked, why);
            },
            reason);
    }
    if (booked) {
        EndDialog(IDOK);
        return;
    }
    qCWarning(lcUi, "CScheduleTimeDlg::OnOK: %s", qPrintable(reason));
    // What a failed Schedule staged has gone again: the next one checks anew.
    m_verified = false;
    m_booked = 0;
    ShowMessageBox(FailureMessage(kUnableToSchedule, kE_CommandError, reason),
                   kMbOk | kMbIconWarning);
}
