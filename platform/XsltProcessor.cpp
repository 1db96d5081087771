#include "platform/XsltProcessor.h"

#include "platform/XsltSort.h"

#include <libxml/parser.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace {

// Collects what libxml2 and libxslt report while one call runs.
struct CErrorText {
    QString text;

    static void Collect(void* context, const char* format, ...)
    {
        char buffer[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        static_cast<CErrorText*>(context)->text += QString::fromUtf8(buffer);
    }
};

class CErrorCapture {
public:
    explicit CErrorCapture(CErrorText* sink)
    {
        xmlSetGenericErrorFunc(sink, &CErrorText::Collect);
        xsltSetGenericErrorFunc(sink, &CErrorText::Collect);
    }
    ~CErrorCapture()
    {
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
    }
    CErrorCapture(const CErrorCapture&) = delete;
    CErrorCapture& operator=(const CErrorCapture&) = delete;
};

struct DocDeleter {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

// The first error a parse reports: later ones mostly follow from it.
struct CFirstError {
    QString text;

    static void Collect(void* context, xmlErrorPtr error)
    {
        auto* self = static_cast<CFirstError*>(context);
        if (!self->text.isEmpty() || !error || error->level < XML_ERR_ERROR)
            return;
        self->text = QStringLiteral("line %1: %2")
                         .arg(error->line)
                         .arg(QString::fromUtf8(error->message ? error->message : "").trimmed());
    }
};

// Parses without touching the network; on failure says where and why.
DocPtr ParseXml(const QByteArray& text, const char* name, const char* encoding, QString* why)
{
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> context(xmlNewParserCtxt(),
                                                                       &xmlFreeParserCtxt);
    if (!context) {
        *why = QStringLiteral("out of memory");
        return nullptr;
    }
    CFirstError first;
    xmlSetStructuredErrorFunc(&first, &CFirstError::Collect);
    DocPtr doc(xmlCtxtReadMemory(context.get(), text.constData(), static_cast<int>(text.size()),
                                 name, encoding, XML_PARSE_NONET | XML_PARSE_NOWARNING));
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc || !xmlDocGetRootElement(doc.get())) {
        *why = first.text.isEmpty() ? QStringLiteral("the document is empty") : first.text;
        return nullptr;
    }
    return doc;
}

using PrefsPtr = std::unique_ptr<xsltSecurityPrefs, void (*)(xsltSecurityPrefsPtr)>;

// No reading or writing of files, no network: for imports while the sheet is
// parsed and for document() and xsl:document while it runs.
PrefsPtr LockedDownPrefs()
{
    PrefsPtr prefs(xsltNewSecurityPrefs(), &xsltFreeSecurityPrefs);
    if (prefs) {
        for (const xsltSecurityOption option :
             {XSLT_SECPREF_READ_FILE, XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
              XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
            xsltSetSecurityPrefs(prefs.get(), option, xsltSecurityForbid);
    }
    return prefs;
}

// The process-wide prefs apply while a sheet is parsed; they are put back after.
class CDefaultPrefsScope {
public:
    explicit CDefaultPrefsScope(xsltSecurityPrefsPtr prefs)
        : m_previous(xsltGetDefaultSecurityPrefs())
    {
        xsltSetDefaultSecurityPrefs(prefs);
    }
    ~CDefaultPrefsScope() { xsltSetDefaultSecurityPrefs(m_previous); }
    CDefaultPrefsScope(const CDefaultPrefsScope&) = delete;
    CDefaultPrefsScope& operator=(const CDefaultPrefsScope&) = delete;

private:
    xsltSecurityPrefsPtr m_previous;
};

} // namespace

CXsltProcessor::CResult
CXsltProcessor::Transform(const QByteArray& xml, const QByteArray& styleSheet, Encoding xmlEncoding)
{
    static const bool initialised = [] {
        xmlInitParser();
        return true;
    }();
    Q_UNUSED(initialised);

    CResult result;
    PrefsPtr prefs = LockedDownPrefs();
    if (!prefs) {
        result.stage = kTransformFailed;
        result.detail = QStringLiteral("out of memory");
        return result;
    }
    CDefaultPrefsScope scope(prefs.get());

    DocPtr data = ParseXml(xml, "data.xml", xmlEncoding == Encoding::Utf8 ? "UTF-8" : nullptr,
                           &result.detail);
    if (!data) {
        result.stage = kBadXml;
        return result;
    }
    DocPtr sheetDoc = ParseXml(styleSheet, "stylesheet.xsl", "UTF-8", &result.detail);
    if (!sheetDoc) {
        result.stage = kBadStyleSheetXml;
        return result;
    }

    CErrorText errors;
    CErrorCapture capture(&errors);
    // The style sheet owns its document once it has been accepted.
    xsltStylesheetPtr sheet = xsltParseStylesheetDoc(sheetDoc.get());
    if (!sheet) {
        result.stage = kNotXslt;
        result.detail = errors.text.trimmed();
        return result;
    }
    sheetDoc.release();
    std::unique_ptr<xsltStylesheet, void (*)(xsltStylesheetPtr)> sheetOwner(sheet,
                                                                            &xsltFreeStylesheet);
    std::unique_ptr<xsltTransformContext, void (*)(xsltTransformContextPtr)> context(
        xsltNewTransformContext(sheet, data.get()), &xsltFreeTransformContext);
    if (!context) {
        result.stage = kTransformFailed;
        result.detail = QStringLiteral("out of memory");
        return result;
    }
    xsltSetCtxtSecurityPrefs(prefs.get(), context.get());
    xsltSetCtxtSortFunc(context.get(), &XsltCollatedSort);
    DocPtr output(
        xsltApplyStylesheetUser(sheet, data.get(), nullptr, nullptr, nullptr, context.get()));
    if (!output || context->state != XSLT_STATE_OK) {
        result.stage = kTransformFailed;
        result.detail = errors.text.trimmed();
        return result;
    }
    xmlChar* text = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&text, &length, output.get(), sheet) != 0) {
        result.stage = kTransformFailed;
        result.detail = QStringLiteral("the result cannot be written as text");
        return result;
    }
    result.output = QByteArray(reinterpret_cast<const char*>(text), length);
    xmlFree(text);
    return result;
}
