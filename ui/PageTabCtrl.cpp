#include "ui/PageTabCtrl.h"

#include "ui/TabPage.h"

#include <QApplication>

namespace {

// The first child of the page that takes the focus, else its first child.
QWidget* FirstChild(QWidget* page)
{
    const QList<QWidget*> children = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        if (child->focusPolicy() != Qt::NoFocus && child->isEnabled())
            return child;
    return children.isEmpty() ? nullptr : children.first();
}

} // namespace

CPageTabCtrl::CPageTabCtrl(QWidget* parent)
    : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &CPageTabCtrl::OnCurrentChanged);
    connect(qApp, &QApplication::focusChanged, this, &CPageTabCtrl::OnFocusChanged);
}

CPageTabCtrl::~CPageTabCtrl()
{
    RemovePages(true);
}

int CPageTabCtrl::AddPage(const QString& title, quint32 data, CTabPage* page, bool autoDelete)
{
    if (!page)
        return -1;
    m_quiet = true;
    const int index = addTab(page, title);
    m_quiet = false;
    if (index < 0)
        return -1;
    CPageEntry entry;
    entry.page = page;
    entry.autoDelete = autoDelete;
    entry.data = data;
    m_pages.insert(index, entry);
    m_pages[index].focus =
        OnPageAdded(index, data) ? FirstChild(page) : QApplication::focusWidget();
    return index;
}

bool CPageTabCtrl::SelectPage(int index)
{
    if (index < 0 || index >= count())
        return false;
    if (index != currentIndex())
        setCurrentIndex(index); // the same path as the user's click
    return true;
}

CTabPage* CPageTabCtrl::Page(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index).page.data() : nullptr;
}

quint32 CPageTabCtrl::PageData(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index).data : 0;
}

QWidget* CPageTabCtrl::FocusWindow(int index) const
{
    return index >= 0 && index < m_pages.size() ? m_pages.at(index).focus.data() : nullptr;
}

bool CPageTabCtrl::OnPageAdded(int, quint32)
{
    return true;
}

void CPageTabCtrl::OnPageShown(int, quint32) {}

void CPageTabCtrl::OnPageHidden(int, quint32) {}

void CPageTabCtrl::OnPageRemoved(int, quint32) {}

int CPageTabCtrl::IndexOf(const QWidget* page) const
{
    for (int i = 0; i < m_pages.size(); ++i)
        if (page && m_pages.at(i).page == page)
            return i;
    return -1;
}

void CPageTabCtrl::OnCurrentChanged(int index)
{
    QWidget* shown = widget(index);
    const QPointer<QWidget> previous = m_currentPage;
    m_currentPage = shown;
    if (m_quiet || previous == shown)
        return;
    const int hiddenIndex = IndexOf(previous);
    if (hiddenIndex >= 0)
        OnPageHidden(hiddenIndex, m_pages.at(hiddenIndex).data);
    const int shownIndex = IndexOf(shown);
    if (shownIndex < 0)
        return;
    const CPageEntry& entry = m_pages.at(shownIndex);
    if (entry.focus && entry.page->isAncestorOf(entry.focus))
        entry.focus->setFocus(Qt::TabFocusReason);
    OnPageShown(shownIndex, entry.data);
}

void CPageTabCtrl::tabRemoved(int index)
{
    // A page deleted by its owner takes its tab with it.
    if (!m_quiet && index >= 0 && index < m_pages.size())
        m_pages.removeAt(index);
    QTabWidget::tabRemoved(index);
}

void CPageTabCtrl::OnFocusChanged(QWidget*, QWidget* now)
{
    if (!now)
        return;
    for (CPageEntry& entry : m_pages)
        if (entry.page && entry.page->isAncestorOf(now))
            entry.focus = now;
}

void CPageTabCtrl::RemoveAllPages()
{
    RemovePages(false);
}

void CPageTabCtrl::RemovePages(bool destroying)
{
    m_quiet = true;
    for (int i = static_cast<int>(m_pages.size()) - 1; i >= 0; --i) {
        const CPageEntry entry = m_pages.takeAt(i);
        OnPageRemoved(i, entry.data);
        if (!entry.page)
            continue;
        if (i < count())
            removeTab(i);
        if (entry.autoDelete) {
            delete entry.page;
        } else if (!destroying) {
            // The owner's page leaves the tabs but not the owner's dialog.
            entry.page->hide();
            entry.page->setParent(parentWidget());
        }
    }
    m_currentPage = nullptr;
    m_quiet = false;
}
