#include "ui/TreeListDlg.h"

#include "ui/MyColorBut.h"
#include "ui/MyListCtrl.h"
#include "ui/MyPopMenu.h"
#include "ui/MyTreeCtrl.h"

#include <QPainter>

namespace {

constexpr int kSplitterWidth = 4;

// The line shown while the bar is dragged.
class CSplitterLine : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::WindowText));
    }
};

} // namespace

CTreeListDlg::CTreeListDlg(int templateId, QWidget* parent)
    : CDialogBase(templateId, parent)
    , m_list(new CMyListCtrl)
    , m_tree(new CMyTreeCtrl)
    , m_splitterBar(new CMyColorBut(this))
    , m_popupMenu(new CMyPopMenu(this))
    , m_splitterLine(new CSplitterLine(this))
{
    m_list->setParent(this);
    m_list->hide();
    m_tree->setParent(this);
    m_tree->hide();
    m_splitterLine->hide();
    m_splitterLine->setAttribute(Qt::WA_TransparentForMouseEvents);
}

CTreeListDlg::~CTreeListDlg()
{
    // The operations are gone with the derived window; focus and mouse
    // events while the children go (a page hands its focus back as it
    // leaves) must not reach them, from any list of the window's.
    for (CMyListCtrl* list : findChildren<CMyListCtrl*>())
        if (list->Owner() == this)
            list->DetachOwner();
    m_tree->DetachOwner();
    m_splitterBar->DetachOwner();
    delete m_list;
    delete m_tree;
}

void CTreeListDlg::OnSplitterMoved(int, int, int) {}

QRect CTreeListDlg::SplitterLine() const
{
    return m_splitterX == kNoSplitter ? QRect() : m_splitterLine->geometry();
}

void CTreeListDlg::DrawSplitterMove(int x, int value)
{
    // One line at a time: drawing it elsewhere takes the old one away.
    const int left = m_treeRect.right() + 1 + x - kSplitterWidth / 2;
    m_splitterLine->setGeometry(left, m_treeRect.top(), kSplitterWidth, m_treeRect.height());
    m_splitterLine->raise();
    m_splitterLine->show();
    m_splitterX = x;
    m_splitterValue = value;
}

void CTreeListDlg::EraseSplitter(int)
{
    m_splitterLine->hide();
    m_splitterX = kNoSplitter;
}

void CTreeListDlg::LayoutTreeAndList(const QRect& client, int treeWidth)
{
    const int width = qBound(0, treeWidth, qMax(0, client.width() - kSplitterWidth));
    m_clientRect = client;
    m_treeRect = QRect(client.left(), client.top(), width, client.height());
    m_listRect = QRect(m_treeRect.right() + 1 + kSplitterWidth, client.top(),
                       client.right() - m_treeRect.right() - kSplitterWidth, client.height());
    m_tree->setGeometry(m_treeRect);
    m_splitterBar->setGeometry(m_treeRect.right() + 1, client.top(), kSplitterWidth,
                               client.height());
    m_list->setGeometry(m_listRect);
}
