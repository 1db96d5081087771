#pragma once

#include "office/OfficeError.h"
#include "platform/Characters.h"

#include <QString>
#include <QVariant>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>
#include <rtl/ustring.hxx>

#include <initializer_list>
#include <utility>

namespace unoutil {

namespace css = com::sun::star;

// Texts cross as UTF-16 both ways, so nothing is lost on the way.
inline rtl::OUString ToOUString(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()),
                         static_cast<sal_Int32>(text.size()));
}

// Text typed into a document or a cell (DocumentText): a control character
// would make the office drop the whole string.
inline rtl::OUString ToDocumentString(const QString& text)
{
    return ToOUString(DocumentText(text));
}

inline QString ToQString(const rtl::OUString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

// A local path as the office's file URL.
rtl::OUString FileUrl(const QString& path);

css::uno::Sequence<css::beans::PropertyValue>
Properties(std::initializer_list<std::pair<const char*, css::uno::Any>> values);

// A value of ours as the office's, and back; dates become serial day
// numbers, texts go in as document text.
css::uno::Any ToAny(const QVariant& value);
QVariant FromAny(const css::uno::Any& value);
// Days since 30 December 1899, the spreadsheet's date numbers.
double DateSerial(const QVariant& value);

// Stores a copy of a document under the path with the filter its extension
// names (extension, filter pairs); the document stays untitled. Throws for
// any other extension and for a file another office has open, and names the
// folder that cannot be written or the file in use when storing fails.
void StoreDocument(const css::uno::Reference<css::lang::XComponent>& document, const QString& path,
                   std::initializer_list<std::pair<const char*, const char*>> filters);
// Closes a document without saving and forgets it; nothing for none.
void CloseDocument(css::uno::Reference<css::lang::XComponent>& document);

// Call inside a catch block: the exception in hand as a COfficeError that
// tells the user what the program was doing ("Writing the cells") and that
// it failed or that the office stopped; the office's words are its detail.
[[noreturn]] void Rethrow(const char* doing);

// Runs an operation and turns every exception of the office into COfficeError.
template <typename F>
auto Guarded(const char* doing, F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (...) {
        Rethrow(doing);
    }
}

} // namespace unoutil
