#pragma once

#include <QTextBrowser>
#include <QUrl>

#include <functional>
#include <memory>

class QPrinter;

// Print and preview dialogs block, so they go through this hook; tests
// answer them without a dialog. Without a hook the real dialogs are shown.
class IHtmlPrintHook {
public:
    virtual ~IHtmlPrintHook() = default;
    // Lets the user set the printer up; false when cancelled.
    virtual bool ChoosePrinter(QPrinter& printer, QWidget* parent) = 0;
    // Shows a preview; `paint` prints the pages onto the printer it is given.
    virtual void ShowPreview(QPrinter& printer, QWidget* parent,
                             const std::function<void(QPrinter*)>& paint) = 0;
};
// The hook stays owned by the caller; nullptr restores the real dialogs.
void SetHtmlPrintHook(IHtmlPrintHook* hook);
// The hook in use: the one set, else the real dialogs.
IHtmlPrintHook& HtmlPrintHook();

// The program's web view: shows local HTML pages and XML files (XML as an
// indented, coloured tree made by a built-in style sheet), tells its owner
// the link under the mouse, asks before every navigation and prints. It is
// synchronous: when Navigate returns, the page is shown or the reason why
// not has been signalled.
//
// Only local files are shown; other addresses are refused with a message.
// Navigating to the page already shown reads it again from its file.
class CHtmlView : public QTextBrowser {
    Q_OBJECT
public:
    // Bigger files are refused: the rich-text engine lays out about a
    // megabyte of table rows in three seconds, and an XML tree page is
    // seven times the size of its file.
    static constexpr qint64 kMaxPageBytes = 2 * 1024 * 1024;
    static constexpr qint64 kMaxXmlBytes = 1024 * 1024;

    explicit CHtmlView(QWidget* parent = nullptr);
    ~CHtmlView() override;

    // An address: a file path, a "file:" URL, another URL (refused), or a
    // "#fragment" of the page shown. True when the page is shown.
    bool Navigate(const QString& address);
    // A relative URL is taken relative to the page shown.
    bool Navigate(const QUrl& url);
    // Reads the page shown again; false when there is none or it is gone.
    bool Refresh();
    // The page before this one.
    bool GoBack();

    // The page shown (empty before the first).
    QUrl LocationUrl() const { return source(); }
    // The page's title, else its file name.
    QString LocationName() const;
    // The address of the link under the mouse, fragment included
    // ("file:///.../page.htm#key"); "" when none. Every navigation clears it.
    const QString& StatusText() const { return m_statusText; }

    // ---- Printing -------------------------------------------------------------------
    // The printer to print on (not owned); nullptr: the default printer.
    void SetPrinter(QPrinter* printer) { m_printer = printer; }
    // Prints the page; with askUser the print dialog comes first (Cancel
    // prints nothing and returns false).
    bool Print(bool askUser = true);
    // Shows the print preview of the page.
    bool PrintPreview();

    // ---- XML ----------------------------------------------------------------------
    // The built-in style sheet that shows XML as a tree.
    static QByteArray XmlTreeStyleSheet();
    // An XML document as the tree page; false with the reason when the bytes
    // are not XML.
    static bool XmlToTreeHtml(const QByteArray& xml, QString& html, QString& error);
    // Files shown as a tree, by name (.xml, .xsl, .xslt).
    static bool IsXmlFile(const QString& fileName);

signals:
    // Before every navigation, by the program or a click on a link. Setting
    // *cancel keeps the page as it is.
    void BeforeNavigate(const QUrl& url, bool* cancel);
    // The page is shown.
    void NavigateComplete(const QUrl& url);
    // The page is not shown; the message says why in the user's words.
    void NavigateError(const QUrl& url, const QString& message);
    // The link under the mouse changed (see StatusText).
    void StatusTextChange(const QString& text);
    // The title of the page shown changed.
    void TitleChange(const QString& title);

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    // Tells the owner and checks the page; false when it is not shown.
    bool MayShow(const QUrl& url);
    bool Fail(const QUrl& url, const QString& message);
    // Runs `load`, which shows a page, so that a long page is laid out once.
    void LayOutOnce(const std::function<void()>& load);
    // Checks the file and, for XML, makes its tree page (kept for loadResource).
    bool Prepare(const QUrl& url, QString& why);
    void SetStatusText(const QString& text);
    void Shown(const QUrl& url);
    QPrinter& ThePrinter();

    QString m_statusText;
    QString m_title;
    QPrinter* m_printer = nullptr;
    std::unique_ptr<QPrinter> m_ownPrinter;
    // The tree page of the XML file being shown.
    QUrl m_treeUrl;
    QString m_treeHtml;
};
