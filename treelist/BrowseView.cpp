#include "treelist/BrowseView.h"

#include "treelist/SarvexCtrl.h"
#include "treelist/SarvexIds.h"
#include "ui/HtmlView.h"

#include <QMouseEvent>

namespace Sarvex {

namespace {

// Right-button presses on the page open the control's popup instead of the
// text browser's own menu.
class CRightButtonFilter final : public QObject {
public:
    CRightButtonFilter(CSarvexCtrl& ctrl, QObject* parent)
        : QObject(parent)
        , m_ctrl(ctrl)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                m_ctrl.OnRButtonDown(mouse->globalPosition().toPoint());
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CSarvexCtrl& m_ctrl;
};

QString ErrorPage(const QString& why)
{
    return QStringLiteral("<html><body><p><b>This page cannot be shown.</b></p><p>%1</p>"
                          "</body></html>")
        .arg(why.toHtmlEscaped());
}

} // namespace

CBrowseView::CBrowseView(CSarvexCtrl& ctrl)
    : m_ctrl(ctrl)
{}

CBrowseView::~CBrowseView()
{
    delete m_wnd.data();
}

void CBrowseView::CreateWindow(QWidget* parent, const QRect& rect)
{
    if (m_wnd || !parent)
        return;
    auto* wnd = new CHtmlView(parent);
    m_wnd = wnd;
    wnd->setObjectName(QStringLiteral("id%1").arg(kWindowId));
    wnd->setContextMenuPolicy(Qt::NoContextMenu);
    wnd->viewport()->installEventFilter(new CRightButtonFilter(m_ctrl, wnd));
    wnd->setGeometry(rect);
    QObject::connect(wnd, &CHtmlView::StatusTextChange, wnd,
                     [this](const QString& text) { OnBrowserEvent(kStatusTextChange, text); });
    QObject::connect(wnd, &CHtmlView::BeforeNavigate, wnd,
                     [this](const QUrl& url, bool* cancel) { OnBeforeNavigate(url, cancel); });
    QObject::connect(wnd, &CHtmlView::NavigateComplete, wnd, [this, wnd] {
        OnBrowserEvent(kNavigateComplete2);
        // Unless the container closed the view in the event before.
        if (m_wnd == wnd)
            OnBrowserEvent(kDownloadComplete);
    });
    QObject::connect(wnd, &CHtmlView::NavigateError, wnd,
                     [this](const QUrl&, const QString& message) { OnNavigateError(message); });
    QObject::connect(wnd, &CHtmlView::TitleChange, wnd,
                     [this](const QString& title) { OnBrowserEvent(kTitleChange, title); });
    wnd->show();
}

void CBrowseView::DestroyWindow()
{
    CHtmlView* wnd = m_wnd.data();
    if (!wnd)
        return;
    m_wnd = nullptr;
    // The container may do this from inside one of the view's own notices:
    // the window goes once that is over, and tells nothing more.
    wnd->disconnect();
    wnd->hide();
    wnd->deleteLater();
}

QWidget* CBrowseView::Window() const
{
    return m_wnd.data();
}

bool CBrowseView::Navigate(const QString& address)
{
    m_lastAddress = address;
    if (!m_wnd)
        return false;
    // The text browser keeps a page it shows with a "#fragment" when asked
    // for the same page without one: the page must be read afresh.
    if (const QUrl shown = m_wnd->source(); shown.hasFragment())
        m_wnd->setSource(shown.adjusted(QUrl::RemoveFragment));
    const QPointer<CHtmlView> wnd = m_wnd;
    ++m_ownNavigation;
    m_lastStatus.clear();
    const bool shown = wnd->Navigate(address);
    --m_ownNavigation;
    return shown;
}

bool CBrowseView::NavigateAgain()
{
    // Nothing was shown yet: there is nothing to show again.
    if (m_lastAddress.isEmpty())
        return false;
    return Navigate(m_lastAddress);
}

bool CBrowseView::Print(PrintCommand command)
{
    if (!m_wnd)
        return false;
    const QPointer<CHtmlView> wnd = m_wnd;
    // The print hook of this library's copy of the web view, for this call.
    IHtmlPrintHook* hook = m_ctrl.ContainerPrintHook();
    if (hook)
        SetHtmlPrintHook(hook);
    const bool done = command == PrintCommand::Print ? wnd->Print(true) : wnd->PrintPreview();
    if (hook)
        SetHtmlPrintHook(nullptr);
    return done;
}

void CBrowseView::ShowPopup(QPoint globalPos)
{
    const int command = m_menu.Track(CMyPopMenu::Popup::Browse, 0, globalPos);
    if (command != 0)
        m_ctrl.OnCommand(command, CSarvexCtrl::kFromBrowser);
}

void CBrowseView::OnBrowserEvent(std::int32_t dispId, const QString& text)
{
    switch (dispId) {
    case kStatusTextChange:
        m_lastStatus = text;
        break;
    case kDownloadComplete:
    case kBeforeNavigate2:
    case kNavigateComplete2:
        m_ctrl.FireNotifyBrowseEvent(dispId, m_lastStatus);
        break;
    default:
        break;
    }
}

void CBrowseView::OnBeforeNavigate(const QUrl& url, bool* cancel)
{
    // A link the user clicked is the one the status text showed; the
    // container's own navigation carries no status text.
    if (m_ownNavigation == 0)
        m_lastStatus = url.toString();
    else
        m_lastStatus.clear();
    const std::uint64_t navigation = ++m_navigations;
    const QPointer<CHtmlView> wnd = m_wnd;
    OnBrowserEvent(kBeforeNavigate2);
    // The container navigated elsewhere from inside the event, or closed
    // the view: its page stands.
    if (m_navigations != navigation || !wnd || wnd != m_wnd)
        *cancel = true;
}

void CBrowseView::OnNavigateError(const QString& message)
{
    if (m_wnd)
        m_wnd->setHtml(ErrorPage(message));
    OnBrowserEvent(kDownloadComplete);
}

} // namespace Sarvex
