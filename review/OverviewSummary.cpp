#include "review/OverviewSummary.h"

#include "platform/Characters.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <set>

struct COverviewSummary::CDoc {
    xmlDocPtr doc = nullptr;
    ~CDoc()
    {
        if (doc)
            xmlFreeDoc(doc);
    }
};

namespace {

QString Text(const xmlChar* text)
{
    const auto* utf8 = reinterpret_cast<const char*>(text);
    return utf8 ? TextFromUtf8(utf8, qstrlen(utf8)) : QString();
}

QString AttributeText(xmlAttrPtr attr)
{
    xmlChar* value = xmlNodeListGetString(attr->doc, attr->children, 1);
    const QString text = Text(value);
    xmlFree(value);
    return text;
}

// Steps are ours; one that is not XPath selects nothing, without a word.
void IgnoreError(void*, xmlErrorPtr) {}

QString ErrorText(const xmlError* error)
{
    if (!error || !error->message)
        return QStringLiteral("the document is empty");
    return QStringLiteral("line %1: %2")
        .arg(error->line)
        .arg(QString::fromUtf8(error->message).trimmed());
}

} // namespace

COverviewSummary::COverviewSummary() = default;
COverviewSummary::~COverviewSummary() = default;

bool COverviewSummary::Load(const QString& xml, QString* why)
{
    m_doc.reset();
    const QByteArray bytes = xml.toUtf8();
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) {
        if (why)
            *why = QStringLiteral("out of memory");
        return false;
    }
    // No network and no entities from outside: the text is data.
    const xmlDocPtr doc =
        xmlCtxtReadMemory(context, bytes.constData(), static_cast<int>(bytes.size()), nullptr,
                          "UTF-8", XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    const QString reason = ErrorText(xmlCtxtGetLastError(context));
    xmlFreeParserCtxt(context);
    if (!doc || !xmlDocGetRootElement(doc)) {
        if (doc)
            xmlFreeDoc(doc);
        if (why)
            *why = reason;
        return false;
    }
    m_doc = std::make_unique<CDoc>();
    m_doc->doc = doc;
    return true;
}

bool COverviewSummary::IsLoaded() const
{
    return m_doc != nullptr;
}

QList<COverviewSummary::CItem> COverviewSummary::Select(const QString& step) const
{
    QList<CItem> items;
    if (!m_doc)
        return items;
    xmlXPathContextPtr context = xmlXPathNewContext(m_doc->doc);
    if (!context)
        return items;
    context->node = xmlDocGetRootElement(m_doc->doc);
    context->error = IgnoreError;
    const QByteArray expression = step.toUtf8();
    xmlXPathObjectPtr result =
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expression.constData()), context);
    if (result && result->type == XPATH_NODESET && result->nodesetval) {
        const xmlNodeSetPtr nodes = result->nodesetval;
        items.reserve(nodes->nodeNr);
        for (int i = 0; i < nodes->nodeNr; ++i) {
            const xmlNodePtr node = nodes->nodeTab[i];
            if (node->type != XML_ELEMENT_NODE)
                continue;
            CItem item;
            const xmlAttrPtr first = node->properties;
            if (first)
                item.id = AttributeText(first);
            if (first && first->next)
                item.name = AttributeText(first->next);
            if (item.name.isEmpty())
                item.name = QStringLiteral("Unknown");
            items << item;
        }
    }
    if (result)
        xmlXPathFreeObject(result);
    xmlXPathFreeContext(context);
    return items;
}

QList<int> COverviewSummary::Years(const QString& element, int first, int last) const
{
    std::set<int> years;
    if (m_doc) {
        const QByteArray name = element.toUtf8();
        const xmlNodePtr root = xmlDocGetRootElement(m_doc->doc);
        for (xmlNodePtr node = root->children; node; node = node->next) {
            if (node->type != XML_ELEMENT_NODE ||
                !xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name.constData())))
                continue;
            xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>("Year"));
            bool ok = false;
            const int year = Text(value).trimmed().toInt(&ok);
            xmlFree(value);
            if (ok && year >= first && year <= last)
                years.insert(year);
        }
    }
    return QList<int>(years.begin(), years.end());
}
