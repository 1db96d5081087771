#pragma once

#include <QList>
#include <QPointer>
#include <QTabWidget>

class CTabPage;

// A tab control whose pages are CTabPage dialogs handed over by the owner.
// Each page remembers the widget that had the focus in it; switching pages,
// by the user or by SelectPage, calls the hidden hook of the page left and
// the shown hook of the page chosen.
class CPageTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    explicit CPageTabCtrl(QWidget* parent = nullptr);
    // Removes the pages (RemoveAllPages). A derived control that wants its
    // removed hook called does that in its own destructor.
    ~CPageTabCtrl() override;

    // Adds a tab for the page; -1 without a page. The first page is shown.
    // Pages with autoDelete are deleted when they are removed; the others
    // are the owner's.
    int AddPage(const QString& title, quint32 data, CTabPage* page, bool autoDelete = false);
    // False when there is no such tab; true at once for the current tab.
    bool SelectPage(int index);
    int GetCurSel() const { return currentIndex(); }

    CTabPage* Page(int index) const;
    quint32 PageData(int index) const;
    // The widget that gets the focus when the page is shown next.
    QWidget* FocusWindow(int index) const;

    // From the last tab to the first: the removed hook, then the tab goes
    // and an auto-delete page is deleted.
    void RemoveAllPages();

protected:
    // True: the page's first child gets the focus when the page is first
    // shown; false: the widget that has the focus now.
    virtual bool OnPageAdded(int index, quint32 data);
    virtual void OnPageShown(int index, quint32 data);
    virtual void OnPageHidden(int index, quint32 data);
    virtual void OnPageRemoved(int index, quint32 data);

    void tabRemoved(int index) override;

private:
    struct CPageEntry {
        QPointer<CTabPage> page;
        bool autoDelete = false;
        quint32 data = 0;
        QPointer<QWidget> focus;
    };

    void OnCurrentChanged(int index);
    void OnFocusChanged(QWidget* old, QWidget* now);
    void RemovePages(bool destroying);
    int IndexOf(const QWidget* page) const;

    QList<CPageEntry> m_pages;
    QPointer<QWidget> m_currentPage;
    // Set while tabs change under our own hand: no hooks then.
    bool m_quiet = false;
};
