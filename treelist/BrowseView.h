#pragma once

#include "treelist/MyPopMenu.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <cstdint>

class CHtmlView;
class CSarvexCtrl;
class QPoint;
class QRect;
class QWidget;

namespace Sarvex {

// The right pane in browser view: the program's web view showing the pages
// the container navigates to, with the browser's notices passed on as
// NotifyBrowseEvent. Its window exists only while the browser view is
// shown; the object, the last address, the last status text and the popup
// menu live as long as the view manager.
//
// The status text is the address of the link under the mouse. A click on a
// link is told before the navigation with that address, so a page can hand
// the container a key ("#@Name"); a navigation the container starts clears
// it, so an old key cannot come back with the next page.
class CBrowseView {
public:
    static constexpr int kWindowId = 208;

    // The browser's own event numbers, as its event sink takes them.
    enum BrowserEvent : std::int32_t {
        kStatusTextChange = 102,
        kDownloadComplete = 104,
        kTitleChange = 113,
        kBeforeNavigate2 = 250,
        kNavigateComplete2 = 252,
    };

    explicit CBrowseView(CSarvexCtrl& ctrl);
    ~CBrowseView();
    CBrowseView(const CBrowseView&) = delete;
    CBrowseView& operator=(const CBrowseView&) = delete;

    void CreateWindow(QWidget* parent, const QRect& rect);
    void DestroyWindow();
    QWidget* Window() const;
    bool HasWindow() const { return !m_wnd.isNull(); }

    // Keeps the address and shows it; false when no window or not shown.
    bool Navigate(const QString& address);
    bool NavigateAgain();
    bool ConnectEvents() { return true; }
    // Printing as the command asks: with the print dialog, or the preview.
    enum class PrintCommand { Print = 6, PrintPreview = 7 };
    // False without a window, or when nothing went to the printer.
    bool Print(PrintCommand command);
    void ShowPopup(QPoint globalPos);

    const QString& LastAddress() const { return m_lastAddress; }
    const QString& LastStatusText() const { return m_lastStatus; }
    CMyPopMenu& Menu() { return m_menu; }

    // The browser's notices, by event number (see BrowserEvent).
    void OnBrowserEvent(std::int32_t dispId, const QString& text = QString());

private:
    void OnBeforeNavigate(const QUrl& url, bool* cancel);
    void OnNavigateError(const QString& message);

    CSarvexCtrl& m_ctrl;
    QString m_lastAddress;
    QString m_lastStatus;
    CMyPopMenu m_menu{CMyPopMenu::kBrowseBase};
    QPointer<CHtmlView> m_wnd;
    // Above 0 while the container's own navigation runs.
    int m_ownNavigation = 0;
    // Counts navigations, so one started from inside an event is seen.
    std::uint64_t m_navigations = 0;
};

} // namespace Sarvex
