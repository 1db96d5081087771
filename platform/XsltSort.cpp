#include "platform/XsltSort.h"

#include "platform/TextOrder.h"

#include <libxml/xpathInternals.h>
#include <libxslt/templates.h>
#include <libxslt/xsltutils.h>

#include <QString>

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace {

// One xsl:sort with its attributes worked out for this sort.
struct CSortSpec {
    bool number = false;
    bool descending = false;
    std::vector<xmlXPathObjectPtr> values; // one a node, in document order
    std::vector<std::optional<QCollatorSortKey>> texts;
};

// An attribute that may be a template ("{...}"), as libxslt evaluates it.
bool Attribute(xsltTransformContextPtr context, xmlNodePtr sort, const xmlChar* known, int has,
               const char* name, const char* yes, const char* no, bool fallback)
{
    if (known || !has)
        return fallback;
    xmlChar* value = xsltEvalAttrValueTemplate(context, sort, BAD_CAST name, XSLT_NAMESPACE);
    bool result = fallback;
    if (value && xmlStrEqual(value, BAD_CAST yes))
        result = true;
    else if (value && xmlStrEqual(value, BAD_CAST no))
        result = false;
    else if (value)
        xsltTransformError(context, nullptr, sort, "xsl:sort: no support for %s = %s\n", name,
                           value);
    xmlFree(value);
    return result;
}

int CompareNumbers(double a, double b)
{
    // NaN goes before every number, as XSLT says.
    if (xmlXPathIsNaN(a))
        return xmlXPathIsNaN(b) ? 0 : -1;
    if (xmlXPathIsNaN(b))
        return 1;
    return a < b ? -1 : (a > b ? 1 : 0);
}

int CompareKey(const CSortSpec& spec, std::size_t a, std::size_t b)
{
    const xmlXPathObjectPtr x = spec.values[a];
    const xmlXPathObjectPtr y = spec.values[b];
    int order = 0;
    if (!x || !y)
        order = (x ? 1 : 0) - (y ? 1 : 0);
    else if (spec.number)
        order = CompareNumbers(x->floatval, y->floatval);
    else
        order = spec.texts[a]->compare(*spec.texts[b]);
    return spec.descending ? -order : order;
}

} // namespace

void XsltCollatedSort(xsltTransformContextPtr context, xmlNodePtr* sorts, int sortCount)
{
    if (!context || !sorts || sortCount <= 0 || !sorts[0] || !sorts[0]->psvi)
        return;
    xmlNodeSetPtr list = context->nodeList;
    if (!list || list->nodeNr <= 1)
        return;
    for (int k = 0; k < sortCount; ++k)
        if (!sorts[k] || !sorts[k]->psvi)
            return;
    const auto count = static_cast<std::size_t>(list->nodeNr);
    std::vector<CSortSpec> specs(static_cast<std::size_t>(sortCount));
    for (int k = 0; k < sortCount; ++k) {
        auto* comp = static_cast<xsltStylePreCompPtr>(sorts[k]->psvi);
        CSortSpec& spec = specs[static_cast<std::size_t>(k)];
        spec.number = Attribute(context, sorts[k], comp->stype, comp->has_stype, "data-type",
                                "number", "text", comp->number != 0);
        spec.descending = Attribute(context, sorts[k], comp->order, comp->has_order, "order",
                                    "descending", "ascending", comp->descending != 0);
        // The values as the data type reads them, texts as they are: the
        // order of a text is this sort's, not the C library's.
        const int storedNumber = comp->number;
        const xsltLocale storedLocale = comp->locale;
        comp->number = spec.number ? 1 : 0;
        comp->locale = xsltLocale{};
        xmlXPathObjectPtr* values = xsltComputeSortResult(context, sorts[k]);
        comp->number = storedNumber;
        comp->locale = storedLocale;
        if (!values) {
            for (CSortSpec& made : specs)
                for (xmlXPathObjectPtr value : made.values)
                    xmlXPathFreeObject(value);
            return;
        }
        spec.values.assign(values, values + count);
        xmlFree(values);
        if (spec.number)
            continue;
        spec.texts.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const xmlXPathObjectPtr value = spec.values[i];
            if (value && value->stringval)
                spec.texts[i] = TextOrder::SortKey(
                    QString::fromUtf8(reinterpret_cast<const char*>(value->stringval)));
            else if (value) {
                xmlXPathFreeObject(value);
                spec.values[i] = nullptr;
            }
        }
    }

    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Equal keys keep document order.
    std::stable_sort(order.begin(), order.end(), [&specs](std::size_t a, std::size_t b) {
        for (const CSortSpec& spec : specs)
            if (const int result = CompareKey(spec, a, b); result != 0)
                return result < 0;
        return false;
    });
    std::vector<xmlNodePtr> nodes(list->nodeTab, list->nodeTab + count);
    for (std::size_t i = 0; i < count; ++i)
        list->nodeTab[i] = nodes[order[i]];
    for (CSortSpec& spec : specs)
        for (xmlXPathObjectPtr value : spec.values)
            xmlXPathFreeObject(value);
}
