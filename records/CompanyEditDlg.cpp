#include "records/CompanyEditDlg.h"

#include "data/DBClass.h"
#include "platform/UserAction.h"
#include "records/ContactFields.h"
#include "records/ContactLinks.h"
#include "records/ContactMessage.h"
#include "records/DialogFields.h"
#include "ui/AppIcon.h"
#include "ui/ComboItems.h"
#include "ui/PlainLabel.h"
#include "ui/ResourceIds.h"
#include "ui/RichTextCtrl.h"
#include "ui/StringTable.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

// Its comment is the text box, shown by the same id.
const CCompanyIds kCompanyIds = {CCompanyEditDlg::kIdName,     CCompanyEditDlg::kIdComment,
                                 CCompanyEditDlg::kIdPhone,    CCompanyEditDlg::kIdFax,
                                 CCompanyEditDlg::kIdWeb,      CCompanyEditDlg::kIdAddress1,
                                 CCompanyEditDlg::kIdAddress2, CCompanyEditDlg::kIdAddress3};

} // namespace

CCompanyEditDlg::CCompanyEditDlg(CDBClass& db, int companyId, const CCompanyValues& company,
                                 QWidget* parent)
    : CDialogBase(IDD, parent)
    , m_db(db)
    , m_companyId(companyId)
    , m_company(company)
    , m_opened(company)
    , m_nameAtOpening(company.CompanyName)
    , m_storedComment(company.AddressComment)
    , m_openingName(new CPlainLabel(this))
    , m_comment(new CRichTextCtrl(this))
    , m_types(new QListWidget(this))
{
    setWindowIcon(AppIcon());
    SetControlId(m_openingName, kIdNameAtOpening);
    SetControlId(m_comment, kIdComment);
    SetControlId(m_types, kIdBusinessTypes);
    m_types->setSelectionMode(QAbstractItemView::MultiSelection);
    m_comment->setTabChangesFocus(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Company Name"), m_openingName);
    const auto edit = [this](int id) {
        auto* line = new QLineEdit(this);
        SetControlId(line, id);
        return line;
    };
    form->addRow(QStringLiteral("&Name:"), edit(kIdName));
    form->addRow(QStringLiteral("&Address:"), edit(kIdAddress1));
    form->addRow(QString(), edit(kIdAddress2));
    form->addRow(QString(), edit(kIdAddress3));
    form->addRow(QStringLiteral("&Phone:"), edit(kIdPhone));
    form->addRow(QStringLiteral("&Fax:"), edit(kIdFax));
    form->addRow(QStringLiteral("&Web:"), edit(kIdWeb));
    form->addRow(QStringLiteral("&Comment:"), m_comment);
    auto* typeColumn = new QVBoxLayout;
    typeColumn->addWidget(new QLabel(QStringLiteral("&Business type:"), this));
    typeColumn->addWidget(m_types);
    static_cast<QLabel*>(typeColumn->itemAt(0)->widget())->setBuddy(m_types);

    auto* fields = new QHBoxLayout;
    fields->addLayout(form, 2);
    fields->addLayout(typeColumn, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(OkCancelRow(*this, QStringLiteral("&Update")));
    // The comment and the business types are made before the lines: Tab
    // takes them where they stand, after the web address.
    setTabOrder(Control<QLineEdit>(kIdWeb), m_comment);
    setTabOrder(m_comment, m_types);
    setMinimumWidth(600);
}

bool CCompanyEditDlg::OnInitDialog()
{
    m_comment->SetWordWrap(true);
    setWindowTitle(QStringLiteral("Company Details - %1").arg(m_nameAtOpening));
    m_openingName->setText(m_nameAtOpening);
    UpdateData(false);
    QStringList stored;
    m_db.GetCompanyBusinessTypes(m_companyId, stored);
    QList<int> ids;
    for (const QString& id : std::as_const(stored))
        ids << id.trimmed().toInt();
    QList<int> selected;
    CListItems items(m_types);
    m_db.FillBusinessTypeList(items, ids, selected);
    for (int row : std::as_const(selected))
        if (QListWidgetItem* item = m_types->item(row))
            item->setSelected(true);
    Control<QLineEdit>(kIdName)->setFocus();
    return true;
}

void CCompanyEditDlg::DoDataExchange(bool saveAndValidate)
{
    ExchangeTexts(*this,
                  {{kIdName, &m_company.CompanyName},
                   {kIdAddress1, &m_company.Address1},
                   {kIdAddress2, &m_company.Address2},
                   {kIdAddress3, &m_company.Address3},
                   {kIdPhone, &m_company.Phone},
                   {kIdFax, &m_company.Fax},
                   {kIdWeb, &m_company.WWWpage}},
                  saveAndValidate);
    // A comment kept as RTF and left as it was shown stays as stored.
    if (saveAndValidate)
        m_company.AddressComment = KeptText(m_comment->toPlainText(), m_storedComment);
    else
        m_comment->SetRTF(m_company.AddressComment);
}

void CCompanyEditDlg::OnOK()
{
    UpdateData(true);
    if (m_company.CompanyName.trimmed().isEmpty()) {
        ShowContactMessage(QStringLiteral("You need to specify a company Name"));
        return;
    }
    QString error;
    // A stored page (another program's) is not this window's to refuse.
    if (m_company.WWWpage != m_opened.WWWpage && !m_company.WWWpage.trimmed().isEmpty() &&
        WebPageUrl(m_company.WWWpage, &error).isEmpty()) {
        ShowContactMessage(error);
        return;
    }
    if (!FitToColumns(CompanyTexts(*this, m_company, kCompanyIds, &m_opened)))
        return;
    QList<int> types;
    for (int row = 0; row < m_types->count(); ++row)
        if (m_types->item(row)->isSelected())
            types << m_types->item(row)->data(Qt::UserRole).toInt();
    const QString notUpdated = QStringLiteral("The company was not updated.");
    const CActionFailureText failure(notUpdated);
    QString reason;
    switch (m_db.UpdateCompany(m_companyId, m_company, types, reason)) {
    case ContactResult::Ok:
        m_nameAtOpening = m_company.CompanyName.trimmed();
        EndDialog(IDOK);
        return;
    case ContactResult::Empty:
        ShowContactMessage(QStringLiteral("You need to specify a company Name"));
        return;
    case ContactResult::Exists:
        ShowContactMessage(QStringLiteral("Company name already exists - these must be unique"));
        return;
    case ContactResult::NotFound:
        ShowContactMessage(LoadStringRes(IDS_NO_COMPANY_INFO));
        return;
    default:
        ShowContactMessage(notUpdated, reason);
        return;
    }
}
