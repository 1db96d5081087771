#include "app/TxtVDlg.h"

#include "ui/AppIcon.h"
#include "ui/RichTextCtrl.h"
#include "ui/Utilities.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace {
constexpr int kTextId = 1313;
const QString kPlacementKey = QStringLiteral("CTxtVDlg");
} // namespace

CTxtVDlg::CTxtVDlg(QWidget* parent)
    : CDialogBase(279, parent)
    , m_view(new CRichTextCtrl(this))
{
    setWindowTitle(QStringLiteral("Text Viewer"));
    setWindowIcon(AppIcon());
    setSizeGripEnabled(true);
    SetControlId(m_view, kTextId);
    m_view->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(640, 480);
    SetPlacementKey(kPlacementKey);
}

bool CTxtVDlg::OnInitDialog()
{
    m_view->SetWordWrap(true);
    m_view->SetRTF(m_text);
    return true;
}

void CTxtVDlg::closeEvent(QCloseEvent* event)
{
    SaveWindowPlacement(this, kPlacementKey);
    CDialogBase::closeEvent(event);
}
