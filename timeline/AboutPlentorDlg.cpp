#include "timeline/AboutPlentorDlg.h"

#include "timeline/PlentorIds.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

CAboutPlentorDlg::CAboutPlentorDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Plentor Control"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_version = new QLabel(QStringLiteral("Plentor Control,  Version ") +
                               QLatin1String(PlentorIds::kVersionText),
                           this);
    m_version->setObjectName(QStringLiteral("id267"));
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* notice = new QLabel(QStringLiteral("Copyright \u00A9 Dunmere"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(m_version);
    texts->addWidget(line);
    texts->addWidget(notice);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

QString CAboutPlentorDlg::VersionText() const
{
    return m_version->text();
}
