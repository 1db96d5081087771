#include "review/SelectXSLT.h"

#include "app/KelvaneApp.h"
#include "app/Profile.h"
#include "app/TxtVDlg.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"
#include "platform/UserFile.h"
#include "ui/AppIcon.h"
#include "ui/ResourceIds.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// What a line of the list keeps beside its text.
constexpr int kSlotRole = Qt::UserRole;
constexpr int kFileRole = Qt::UserRole + 1;
} // namespace

CSelectXSLT::CSelectXSLT(int kind, QWidget* parent)
    : CDialogBase(kTemplateId, parent)
    , m_kind(kind)
    , m_fileEdit(new QLineEdit(this))
    , m_nickEdit(new QLineEdit(this))
    , m_list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Select XSLT"));
    setWindowIcon(AppIcon());
    CKelvaneApp::GetWindowCode(kind, m_code);
    SetControlId(m_fileEdit, kFileName);
    SetControlId(m_nickEdit, kNickname);
    SetControlId(m_list, kList);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnView(); });

    auto* file = new QHBoxLayout;
    file->addWidget(m_fileEdit, 1);
    QPushButton* browse = AddCommandButton(QStringLiteral("..."), kBrowse);
    browse->setAutoDefault(false);
    file->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral(" Filename :"), file);
    form->addRow(QStringLiteral("Nickname :"), m_nickEdit);

    auto* buttons = new QHBoxLayout;
    QPushButton* remove = AddCommandButton(QStringLiteral("Delete"), kDelete);
    QPushButton* view = AddCommandButton(QStringLiteral("View"), kView);
    remove->setAutoDefault(false);
    view->setAutoDefault(false);
    buttons->addWidget(remove);
    buttons->addWidget(view);
    buttons->addStretch(1);
    QPushButton* ok = AddCommandButton(QStringLiteral("OK"), 1);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(AddCommandButton(QStringLiteral("Cancel"), 2));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(520, 320);
}

bool CSelectXSLT::OnInitDialog()
{
    FillList();
    UpdateData(false);
    return true;
}

void CSelectXSLT::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_fileName = m_fileEdit->text().trimmed();
        m_nickname = m_nickEdit->text().trimmed();
    } else {
        m_fileEdit->setText(m_fileName);
        m_nickEdit->setText(m_nickname);
    }
}

void CSelectXSLT::FillList()
{
    m_list->clear();
    QStringList nicknames;
    QStringList files;
    QList<int> slotNumbers;
    if (m_code.isEmpty() ||
        !CKelvaneApp::LoadSaveXsltList(m_code, nicknames, files, true, &slotNumbers))
        return;
    for (int i = 0; i < nicknames.size(); ++i) {
        const QString line = nicknames.at(i) + QLatin1Char('\t') + files.at(i);
        if (line.trimmed().isEmpty())
            continue;
        auto* item = new QListWidgetItem(line, m_list);
        item->setData(kSlotRole, slotNumbers.at(i));
        item->setData(kFileRole, files.at(i));
    }
}

QStringList CSelectXSLT::Lines() const
{
    QStringList lines;
    for (int i = 0; i < m_list->count(); ++i)
        lines << m_list->item(i)->text();
    return lines;
}

bool CSelectXSLT::OnCommand(int id)
{
    switch (id) {
    case kBrowse:
        OnBrowse();
        return true;
    case kDelete:
        OnDelete();
        return true;
    case kView:
        OnView();
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CSelectXSLT::OnOK()
{
    UpdateData(true);
    if (m_fileName.isEmpty()) {
        ShowMessageBox(QStringLiteral("You need to specify a filename"), kMbOk | kMbIconWarning);
        return;
    }
    if (m_nickname.isEmpty()) {
        ShowMessageBox(QStringLiteral("You need to specify a nickname"), kMbOk | kMbIconWarning);
        return;
    }
    if (m_code.isEmpty())
        return;
    // A tab would split the pair's line in the list.
    m_nickname.replace(QLatin1Char('\t'), QLatin1Char(' '));
    QStringList nicknames{m_nickname};
    QStringList files{m_fileName};
    // A refused pair (all slots taken) keeps the dialog open, so the user
    // can delete one and try again.
    if (!CKelvaneApp::LoadSaveXsltList(m_code, nicknames, files, false))
        return;
    EndDialog(IDOK);
}

void CSelectXSLT::OnBrowse()
{
    UpdateData(true);
    const QString chosen =
        ChooseOpenFile(QStringLiteral("Select a file..."), CProfile::DefDirectory(),
                       QStringLiteral("XSLT Files (*.xslt *.xsl);;All Files (*)"));
    if (chosen.isEmpty())
        return;
    m_fileName = chosen;
    UpdateData(false);
}

bool CSelectXSLT::SelectedPair(QString& file, int& slot) const
{
    const QListWidgetItem* item = m_list->currentItem();
    if (!item || !item->isSelected())
        return false;
    file = item->data(kFileRole).toString();
    slot = item->data(kSlotRole).toInt();
    return true;
}

void CSelectXSLT::OnDelete()
{
    QString file;
    int slot = -1;
    if (!SelectedPair(file, slot))
        return;
    CKelvaneApp::DeleteXsltEntry(m_code, slot);
    FillList();
}

void CSelectXSLT::OnView()
{
    QString file;
    int slot = -1;
    if (!SelectedPair(file, slot))
        return;
    // Only a regular file of a style sheet's size: never a pipe or a device.
    QByteArray bytes;
    if (ReadUserFile(file, kMaxStyleSheetBytes, bytes) != UserFileProblem::None) {
        ShowMessageBox(QStringLiteral("Error reading %1").arg(file), kMbOk | kMbIconError);
        return;
    }
    CTxtVDlg viewer(this);
    viewer.m_text = QString::fromUtf8(bytes);
    viewer.DoModal();
}
