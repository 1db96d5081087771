#include "review/BrowserDlg.h"

#include "app/Profile.h"
#include "data/DBClass.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"
#include "ui/AppIcon.h"
#include "ui/HtmlView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The file an address names, when it is an existing file ("" otherwise).
QString ExistingFile(const QString& address)
{
    const QUrl url(address);
    const QString path = url.isLocalFile() ? url.toLocalFile() : address;
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() ? info.absoluteFilePath() : QString();
}

QString FileAddress(const QString& path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
}

} // namespace

CBrowserDlg::CBrowserDlg(QWidget* parent, const QString& address, const QString& fileName,
                         CDBClass* db)
    : CDialogBase(kTemplateId, parent)
    , m_db(db)
    , m_address(address.trimmed())
    , m_fileName(fileName)
    , m_edit(new QLineEdit(this))
    , m_view(new CHtmlView(this))
{
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    SetControlId(m_edit, kAddress);
    SetControlId(m_view, kView);
    QPushButton* go = AddCommandButton(QStringLiteral("&GO.."), kGo);
    go->setDefault(true);
    QPushButton* choose = AddCommandButton(QStringLiteral("&.."), kChoose);
    choose->setAutoDefault(false);

    auto* band = new QHBoxLayout;
    band->addWidget(m_edit, 1);
    band->addWidget(go);
    band->addWidget(choose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addLayout(band);
    layout->addWidget(m_view, 1);
    resize(800, 600);

    connect(m_view, &CHtmlView::NavigateError, this, [](const QUrl&, const QString& message) {
        ShowMessageBox(message, kMbOk | kMbIconWarning);
    });
    connect(m_view, &CHtmlView::NavigateComplete, this, [this](const QUrl& url) {
        m_address = url.toString();
        UpdateData(false);
        setWindowTitle(m_address);
        if (m_keepsManual && url.isLocalFile())
            CProfile::SetManualFile(url.toLocalFile());
    });
}

bool CBrowserDlg::OnInitDialog()
{
    const QString file = ExistingFile(m_address);
    if (!file.isEmpty())
        m_address = FileAddress(file);
    else if (m_address.isEmpty())
        m_address = FindFile();
    if (m_address.isEmpty())
        ChoosePage(m_address);
    UpdateData(false);
    if (!m_address.isEmpty())
        Navigate();
    return true;
}

QString CBrowserDlg::FindFile() const
{
    if (m_fileName.isEmpty())
        return QString();
    QStringList places;
    if (m_db && !m_db->FileDirectory().isEmpty())
        places << QDir(m_db->FileDirectory()).filePath(m_fileName);
    places << QDir(QCoreApplication::applicationDirPath()).filePath(m_fileName) << m_fileName;
    for (const QString& place : std::as_const(places))
        if (QFileInfo(place).isFile())
            return FileAddress(place);
    return QString();
}

void CBrowserDlg::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate)
        m_address = m_edit->text().trimmed();
    else
        m_edit->setText(m_address);
}

bool CBrowserDlg::OnCommand(int id)
{
    switch (id) {
    case kGo:
        UpdateData(true);
        Navigate();
        return true;
    case kChoose:
        if (ChoosePage(m_address)) {
            UpdateData(false);
            Navigate();
        }
        return true;
    default:
        return CDialogBase::OnCommand(id);
    }
}

void CBrowserDlg::Navigate()
{
    // A path typed or given becomes a file address; anything else is
    // judged by the view. The caption names a page once it is shown
    // (NavigateComplete), so a refused address never appears there.
    const QString file = ExistingFile(m_address);
    m_view->Navigate(file.isEmpty() ? m_address : FileAddress(file));
}

bool CBrowserDlg::ChoosePage(QString& address)
{
    const QString title = QStringLiteral("Select a help file...");
    const QString description = QStringLiteral("Doc Files");
    const QString pattern = QStringLiteral("*.htm *.html *.xml");
    QString chosen;
    if (m_db) {
        QString folder;
        QString name;
        if (m_db->BrowseForFile(folder, name, title, QString(), description, pattern))
            chosen = folder + name;
    } else {
        chosen = ChooseOpenFile(title, CProfile::DefDirectory(),
                                QStringLiteral("%1 (%2);;All Files (*)").arg(description, pattern));
    }
    if (chosen.isEmpty())
        return false;
    address = FileAddress(chosen);
    return true;
}
