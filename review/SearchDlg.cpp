#include "review/SearchDlg.h"

#include "app/KelvaneApp.h"
#include "data/DBClass.h"
#include "data/MyAdoRecordSet.h"
#include "data/SqlExecutor.h"
#include "data/StatementLimit.h"
#include "platform/MessageBox.h"
#include "platform/UserAction.h"
#include "review/SearchCost.h"
#include "review/SearchKind.h"
#include "review/SearchViewDlg.h"
#include "ui/AppIcon.h"
#include "ui/PlainLabel.h"
#include "ui/ProgressDlg.h"
#include "ui/RichTextCtrl.h"
#include "ui/WaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kNoFieldsTitle = QStringLiteral("Search");

// A search that takes a while shows how long it has run, with Cancel.
class CSearchProgress : public IStatementWatch {
public:
    CSearchProgress(QWidget* parent, int limitMs)
        : m_progress(parent, QStringLiteral("Search"))
        , m_limitMs(limitMs)
    {}
    bool StatementRunning(qint64 elapsedMs) override
    {
        return m_progress.Step(QStringLiteral("Searching for %1 seconds (at most %2) ...")
                                   .arg(elapsedMs / 1000)
                                   .arg(m_limitMs / 1000),
                               elapsedMs, m_limitMs);
    }
    void StatementStopped(bool timedOut) override { m_stopped = timedOut ? kTimedOut : kCancelled; }
    enum Stopped { kRan, kTimedOut, kCancelled };
    Stopped Outcome() const { return m_stopped; }

private:
    CProgressDlg m_progress;
    int m_limitMs;
    Stopped m_stopped = kRan;
};

} // namespace

CSearchDlg::CSearchDlg(int kind, CDBClass* db, QWidget* parent)
    : CDialogBase(kTemplateId, parent)
    , m_kind(kind)
    , m_db(db)
    , m_query(kind, db)
    , m_field(new QComboBox(this))
    , m_equate(new QComboBox(this))
    , m_value(new QLineEdit(this))
    , m_join(new QComboBox(this))
    , m_filter(new CRichTextCtrl(this))
    , m_status(new CPlainLabel(this))
{
    setWindowIcon(AppIcon());
    SetControlId(m_field, kField);
    SetControlId(m_equate, kEquate);
    SetControlId(m_value, kValue);
    SetControlId(m_join, kJoin);
    SetControlId(m_filter, kFilter);
    SetControlId(m_status, kStatus);
    m_equate->setEditable(true);
    m_equate->addItems({QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"),
                        QStringLiteral("<>"), QStringLiteral("LIKE")});
    m_join->addItems({QString(), QStringLiteral("and"), QStringLiteral("or")});
    m_filter->setAcceptRichText(false);
    m_filter->setMinimumHeight(70);

    auto* group = new QGroupBox(QStringLiteral("Create Search Filter  "), this);
    auto* grid = new QGridLayout(group);
    auto label = [group](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, group);
        l->setBuddy(buddy);
        return l;
    };
    grid->addWidget(label(QStringLiteral("&Field:"), m_field), 0, 0);
    grid->addWidget(m_field, 0, 1);
    grid->addWidget(label(QStringLiteral("&Equate:"), m_equate), 0, 2);
    grid->addWidget(m_equate, 0, 3);
    grid->addWidget(label(QStringLiteral("&Value:"), m_value), 1, 0);
    grid->addWidget(m_value, 1, 1);
    grid->addWidget(label(QStringLiteral("&Join by:"), m_join), 1, 2);
    grid->addWidget(m_join, 1, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);
    auto* sectionButtons = new QHBoxLayout;
    QPushButton* add = AddCommandButton(QStringLiteral("&Add"), kAdd);
    QPushButton* clear = AddCommandButton(QStringLiteral("C&lear"), kClear);
    QPushButton* show = AddCommandButton(QStringLiteral("Show &query"), kShowQuery);
    for (QPushButton* b : {add, clear, show}) {
        b->setAutoDefault(false);
        sectionButtons->addWidget(b);
    }
    sectionButtons->addStretch(1);
    grid->addLayout(sectionButtons, 2, 0, 1, 4);
    grid->addWidget(m_filter, 3, 0, 1, 4);

    QPushButton* search = AddCommandButton(QStringLiteral("&Search"), kSearch);
    search->setDefault(true);
    QPushButton* close = AddCommandButton(QStringLiteral("&Close"), kClose);
    close->setAutoDefault(false);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(search);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addLayout(bottom);
    resize(560, 300);

    add->setToolTip(QStringLiteral("By adding you can build up a query string of multiple fields"));
    close->setToolTip(QStringLiteral("Close this dialog"));
    m_field->setToolTip(QStringLiteral("Query field name"));
    m_join->setToolTip(
        QStringLiteral("Allows joining of multiple fields to build up a large query."));
    search->setToolTip(QStringLiteral("Run your query"));
    m_value->setToolTip(QStringLiteral("Query directive, for LIKE queries use %"));
    m_equate->setToolTip(QStringLiteral("Select =,>,>,<>, LIKE or type into this field"));
    show->setToolTip(QStringLiteral("Shows the query string you are searching with"));
    m_filter->setToolTip(QStringLiteral("Shows your created filter string - you can type "
                                        "directly into this box to create a known filter."));
    clear->setToolTip(
        QStringLiteral("Before starting a new query you need to clear the previous one."));
}

CSearchDlg::~CSearchDlg()
{
    // The views read the recordsets: they go first.
    qDeleteAll(m_views);
    m_views.clear();
    qDeleteAll(m_recordsets);
    m_recordsets.clear();
}

bool CSearchDlg::OnInitDialog()
{
    const CSearchKind* known = FindSearchKind(m_kind);
    setWindowTitle(known ? QLatin1String(known->dialogTitle) : kNoFieldsTitle);
    const QList<CSearchQuery::CField>& fields = m_query.Fields();
    for (int i = 0; i < fields.size(); ++i)
        m_field->addItem(fields.at(i).caption, i);
    m_field->setCurrentIndex(-1);
    m_equate->setCurrentIndex(0);
    m_join->setEnabled(false);
    m_query.SetFilter(QString());
    const CProfile::CValues options = CurrentOptions();
    m_query.SetRowLimit(options.Bool("bsearchSize"), options.Int("isearchSize"));
    UpdateData(false);
    return true;
}

void CSearchDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_query.SetFilter(m_filter->toPlainText());
    else
        m_filter->setPlainText(m_query.Filter());
}

bool CSearchDlg::OnCommand(int id)
{
    switch (id) {
    case kAdd:
        CheckFilter();
        return true;
    case kClear:
        OnClear();
        return true;
    case kShowQuery:
        OnShowQuery();
        return true;
    case kSearch:
        OnSearch();
        return true;
    case kClose:
        OnCancel();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

bool CSearchDlg::CheckFilter()
{
    UpdateData(true);
    const int field = m_field->currentIndex() >= 0 ? m_field->currentData().toInt() : -1;
    QString message;
    switch (m_query.AddSection(field, m_equate->currentText(), m_value->text(),
                               m_join->currentText(), message)) {
    case CSearchQuery::AddResult::Refused:
        ShowMessageBox(message, kMbOk | kMbIconWarning);
        return false;
    case CSearchQuery::AddResult::NoField:
        return true;
    case CSearchQuery::AddResult::Added:
        break;
    }
    m_join->setEnabled(true);
    UpdateData(false);
    return true;
}

void CSearchDlg::OnClear()
{
    m_query.SetFilter(QString());
    m_filter->clear();
}

void CSearchDlg::OnShowQuery()
{
    UpdateData(true);
    if (m_query.Filter().trimmed().isEmpty() && !CheckFilter())
        return;
    // The statement as the search runs it, in the database's own dialect.
    const QString statement = m_query.SearchText();
    ShowMessageBox(m_db ? m_db->Dialect().Translate(statement) : statement,
                   kMbOk | kMbIconInformation);
}

void CSearchDlg::OnSearch()
{
    SetStatus(QStringLiteral("Please Wait - Creating Search Records ..."));
    CWaitCursor wait;
    UpdateData(true);
    if (m_query.Filter().trimmed().isEmpty() && !CheckFilter()) {
        SetStatus(QString());
        return;
    }
    m_lastSearch = m_query.SearchText();
    UpdateData(false);
    if (!m_db || !m_query.IsKnownKind()) {
        SetStatus(QString());
        return;
    }
    if (TooLongToRun())
        return;
    QString message;
    m_db->SetSearchViewFactory(this);
    bool ran = false;
    CSearchProgress::Stopped stopped = CSearchProgress::kRan;
    {
        const CActionFailureText failure(QStringLiteral("The search did not run."));
        CSearchProgress progress(this, m_db->SearchTimeLimitMs());
        ran = m_db->RunQueryToList(m_lastSearch, message, QString::number(m_kind),
                                   QString::number(m_query.ColumnCount()), m_recordsets, m_views,
                                   this, &progress);
        stopped = progress.Outcome();
    }
    m_db->SetSearchViewFactory(nullptr);
    // Stopped by the user or at the time limit: the statement was sound.
    if (stopped == CSearchProgress::kCancelled)
        return SetStatus(message);
    if (stopped == CSearchProgress::kTimedOut) {
        SetStatus(message);
        ShowMessageBox(message, kMbOk | kMbIconWarning);
        return;
    }
    if (!ran) {
        // A database that cannot be reached is no fault of the search text.
        const QString failure =
            UserAction::FailureNoted()
                ? QStringLiteral("Error searching.  The database could not be reached")
                : QStringLiteral("Error searching.  SQL string not well formed");
        SetStatus(failure);
        ShowMessageBox(failure + QLatin1Char('\n') + message, kMbOk | kMbIconError);
        return;
    }
    SetStatus(message);
    m_join->setEnabled(true);
}

bool CSearchDlg::TooLongToRun()
{
    const CSearchKind* kind = FindSearchKind(m_kind);
    CDBConnection& connection = *m_db->Connection();
    const qint64 rows = CSearchCost::RowsTooManyToSort(
        connection, CSqlExecutor::Translate(connection, m_lastSearch), QLatin1String(kind->table),
        !m_query.Filter().trimmed().isEmpty(), m_query.RowLimit(), m_db->SearchTimeLimitMs());
    if (rows == 0)
        return false;
    // Said at once: the search would only be stopped at its time limit.
    const QString text =
        QStringLiteral("This search has to sort all %1 %2 before it can show the first of them, "
                       "and that takes longer than the %3 seconds a search may run. Add a "
                       "section to the filter so that it finds fewer.")
            .arg(QLocale().toString(rows), QLatin1String(kind->rowsName))
            .arg(m_db->SearchTimeLimitMs() / 1000);
    SetStatus(text);
    ShowMessageBox(text, kMbOk | kMbIconWarning);
    return true;
}

QObject* CSearchDlg::CreateSearchView(const QString& /*kind*/, const QString& text,
                                      CMyAdoRecordSet* rows, QObject* /*parent*/)
{
    auto* view = new CSearchViewDlg(m_kind, text.toInt(), rows, m_db, this);
    view->Create();
    return view;
}

QString CSearchDlg::StatusText() const
{
    return m_status->text();
}

void CSearchDlg::SetStatus(const QString& text)
{
    m_status->setText(text);
    m_status->repaint();
}
