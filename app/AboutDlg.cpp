#include "app/AboutDlg.h"

#include "data/DBClass.h"
#include "platform/com/ControlHost.h"
#include "ui/AppIcon.h"
#include "ui/ResourceIds.h"
#include "ui/StaticLink.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr const char* kTimeLineClassId = "{4170551F-F04B-11D1-ACC6-0040053F2CF2}";
constexpr int kGetVersion = 36;
} // namespace

CAboutDlg::CAboutDlg(CDBClass* db, QWidget* parent)
    : CContextHelpDlg(100, parent)
    , m_db(db)
{
    setWindowTitle(QStringLiteral("About Kelvane"));
    setWindowIcon(AppIcon());
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(48, 48));
    auto* app = new QLabel(QStringLiteral("Kelvane Application Version ADO 2, 2, 0, 0 DB 2.2, "
                                          "DB2.3"),
                           this);
    SetControlId(app, 1218);
    auto* built = new QLabel(QStringLiteral("Built for OCX Version 2, 1, 0, 7 "), this);
    SetControlId(built, 1219);
    m_using = new QLabel(QStringLiteral("Using OCX Version "), this);
    SetControlId(m_using, 1221);
    auto* link = new CStaticLink(QString::fromLatin1(kWebAddress), this);
    link->setText(QString::fromLatin1(kWebAddress));
    SetControlId(link, 1223);

    auto* texts = new QVBoxLayout;
    texts->addWidget(app);
    texts->addWidget(built);
    texts->addWidget(m_using);
    texts->addWidget(link);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);

    // The box opens without its time line when the control is missing.
    auto* host = new CControlHost(this);
    if (Succeeded(host->CreateControl(QString::fromLatin1(kTimeLineClassId)))) {
        m_timeLine = host;
        SetControlId(host, 1220);
        host->setMinimumSize(320, 200);
        layout->addWidget(host, 1);
        const QString version = host->Call<QString>(kGetVersion);
        m_using->setText(QStringLiteral("Using OCX Version ") + version);
    } else {
        delete host;
    }

    auto* ok = AddCommandButton(QStringLiteral("OK"), IDOK);
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
}

QString CAboutDlg::UsingVersionText() const
{
    return m_using->text();
}

void CAboutDlg::OnOK()
{
    if (m_db)
        m_db->ReleaseConnection(false, false);
    EndDialog(IDOK);
}
