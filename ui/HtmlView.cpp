#include "ui/HtmlView.h"

#include "platform/UserFile.h"
#include "platform/XsltProcessor.h"

#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocument>

namespace {

// The real dialogs, for the program.
class CDialogPrintHook : public IHtmlPrintHook {
public:
    bool ChoosePrinter(QPrinter& printer, QWidget* parent) override
    {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    void ShowPreview(QPrinter& printer, QWidget* parent,
                     const std::function<void(QPrinter*)>& paint) override
    {
        QPrintPreviewDialog preview(&printer, parent);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, paint);
        preview.exec();
    }
};

IHtmlPrintHook* s_printHook = nullptr;

// What the view shows in place of a page it cannot show (a page reached
// through the history whose file has changed since).
QString ErrorPage(const QString& why)
{
    return QStringLiteral("<html><body><p><b>This page cannot be shown.</b></p><p>%1</p>"
                          "</body></html>")
        .arg(why.toHtmlEscaped());
}

} // namespace

void SetHtmlPrintHook(IHtmlPrintHook* hook)
{
    s_printHook = hook;
}

IHtmlPrintHook& HtmlPrintHook()
{
    static CDialogPrintHook dialogs;
    return s_printHook ? *s_printHook : dialogs;
}

CHtmlView::CHtmlView(QWidget* parent)
    : QTextBrowser(parent)
{
    // Links come to Navigate, so the owner hears of them first.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) { Navigate(link); });
    connect(this, &QTextBrowser::highlighted, this,
            [this](const QUrl& link) { SetStatusText(link.toString()); });
}

CHtmlView::~CHtmlView() = default;

bool CHtmlView::Navigate(const QString& address)
{
    const QString text = address.trimmed();
    if (text.startsWith(QLatin1Char('#')))
        return Navigate(QUrl(text));
    const QUrl url(text);
    // A path has no scheme (and there are no drive letters here).
    if (url.scheme().size() > 1)
        return Navigate(url);
    if (text.isEmpty())
        return Fail(QUrl(), QStringLiteral("No page was given."));
    return Navigate(QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
}

bool CHtmlView::Navigate(const QUrl& target)
{
    QUrl url = target;
    if (url.isRelative() && source().isValid())
        url = source().resolved(url);
    if (!MayShow(url))
        return false;
    // The page already shown would stay as it was: read it again.
    LayOutOnce([&] {
        if (url == source())
            reload();
        else
            setSource(url, QTextDocument::HtmlResource);
    });
    Shown(url);
    return true;
}

bool CHtmlView::Refresh()
{
    if (source().isEmpty())
        return false;
    QString why;
    if (!Prepare(source(), why))
        return Fail(source(), why);
    LayOutOnce([this] { reload(); });
    Shown(source());
    return true;
}

bool CHtmlView::GoBack()
{
    if (!isBackwardAvailable())
        return false;
    const QUrl url = historyUrl(-1);
    if (!MayShow(url))
        return false;
    LayOutOnce([this] { backward(); });
    Shown(url);
    return true;
}

QString CHtmlView::LocationName() const
{
    const QString title = documentTitle();
    return title.isEmpty() ? source().fileName() : title;
}

bool CHtmlView::MayShow(const QUrl& url)
{
    SetStatusText(QString());
    bool cancel = false;
    emit BeforeNavigate(url, &cancel);
    if (cancel)
        return false;
    QString why;
    return Prepare(url, why) || Fail(url, why);
}

void CHtmlView::LayOutOnce(const std::function<void()>& load)
{
    // A page is laid out at the view's width and, when it turns out longer
    // than the view, again for the narrower width beside its scroll bar: a
    // long table takes a while each time. With the bar up first a long page
    // is laid out once. A page short enough that it might fit without the
    // bar is laid out the usual way, at the full width first.
    if (!isVisible() || verticalScrollBarPolicy() != Qt::ScrollBarAsNeeded) {
        load();
        return;
    }
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    load();
    if (document()->size().height() <= 2 * viewport()->height())
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

bool CHtmlView::Fail(const QUrl& url, const QString& message)
{
    emit NavigateError(url, message);
    return false;
}

bool CHtmlView::Prepare(const QUrl& url, QString& why)
{
    if (!url.isLocalFile()) {
        why = QStringLiteral("Only pages stored on this computer can be shown; %1 is not one.")
                  .arg(url.toDisplayString());
        return false;
    }
    const QString path = url.toLocalFile();
    const bool xml = IsXmlFile(path);
    const qint64 limit = xml ? kMaxXmlBytes : kMaxPageBytes;
    QByteArray bytes;
    // Only a regular file is read: a pipe would wait and a device never end.
    const UserFileProblem problem =
        xml ? ReadUserFile(path, limit, bytes, &why) : CheckUserFile(path, limit, &why);
    switch (problem) {
    case UserFileProblem::None:
        break;
    case UserFileProblem::Folder:
        why = QStringLiteral("%1 is a folder, not a page").arg(path);
        return false;
    case UserFileProblem::TooLarge:
        why = QStringLiteral("%1 is too large to show (%2 MB; the browser shows up to %3 MB)")
                  .arg(path, MegabytesText(QFileInfo(path).size()), MegabytesText(limit));
        return false;
    default:
        return false;
    }
    if (!xml)
        return true;
    QString html;
    if (!XmlToTreeHtml(bytes, html, why)) {
        why = QStringLiteral("%1 is not well-formed XML: %2").arg(path, why);
        return false;
    }
    m_treeUrl = url.adjusted(QUrl::RemoveFragment);
    m_treeHtml = html;
    return true;
}

QVariant CHtmlView::loadResource(int type, const QUrl& name)
{
    const QUrl url = name.isRelative() && source().isValid() ? source().resolved(name) : name;
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    const bool page = type == QTextDocument::HtmlResource || type == QTextDocument::UnknownResource;
    QString why;
    if (page && IsXmlFile(url.toLocalFile())) {
        if (url.adjusted(QUrl::RemoveFragment) == m_treeUrl || Prepare(url, why))
            return m_treeHtml;
        return ErrorPage(why);
    }
    // Pages, pictures and style sheets alike: regular files within the limit.
    QByteArray bytes;
    if (ReadUserFile(url.toLocalFile(), kMaxPageBytes, bytes, &why) == UserFileProblem::None)
        return bytes;
    // Something other than nothing: the document would read the file itself.
    return page ? QVariant(ErrorPage(why)) : QVariant(QByteArray());
}

void CHtmlView::SetStatusText(const QString& text)
{
    if (text == m_statusText)
        return;
    m_statusText = text;
    emit StatusTextChange(text);
}

void CHtmlView::Shown(const QUrl& url)
{
    emit NavigateComplete(url);
    const QString title = documentTitle();
    if (title != m_title) {
        m_title = title;
        emit TitleChange(title);
    }
}

QPrinter& CHtmlView::ThePrinter()
{
    if (m_printer)
        return *m_printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_ownPrinter;
}

bool CHtmlView::Print(bool askUser)
{
    QPrinter& printer = ThePrinter();
    if (askUser && !HtmlPrintHook().ChoosePrinter(printer, this))
        return false;
    document()->print(&printer);
    return printer.printerState() != QPrinter::Error;
}

bool CHtmlView::PrintPreview()
{
    HtmlPrintHook().ShowPreview(ThePrinter(), this,
                                [this](QPrinter* printer) { document()->print(printer); });
    return true;
}

QByteArray CHtmlView::XmlTreeStyleSheet()
{
    QFile file(QStringLiteral(":/xml/XmlTree.xslt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CHtmlView::XmlToTreeHtml(const QByteArray& xml, QString& html, QString& error)
{
    const CXsltProcessor::CResult result =
        CXsltProcessor::Transform(xml, XmlTreeStyleSheet(), CXsltProcessor::Encoding::AsDeclared);
    if (result.stage != CXsltProcessor::kDone) {
        error = result.detail;
        return false;
    }
    html = QString::fromUtf8(result.output);
    return true;
}

bool CHtmlView::IsXmlFile(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return suffix == QLatin1String("xml") || suffix == QLatin1String("xsl") ||
           suffix == QLatin1String("xslt");
}
