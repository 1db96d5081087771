#pragma once

#include <libxslt/xsltInternals.h>

// The sort of xsl:sort with texts in the user's language's order, ignoring
// case (TextOrder), instead of libxslt's byte order. Numbers, order,
// several keys and document order among equals are as libxslt has them.
void XsltCollatedSort(xsltTransformContextPtr context, xmlNodePtr* sorts, int sortCount);
