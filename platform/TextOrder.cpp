#include "platform/TextOrder.h"

#include <QCollator>
#include <QLocale>

#include <memory>

namespace {

// The collator of the default locale, made again when that changes.
const QCollator& Collator()
{
    static std::unique_ptr<QCollator> s_collator;
    static QString s_name;
    QLocale locale;
    // Qt orders the C locale by character codes.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    const QString name = locale.bcp47Name();
    if (!s_collator || name != s_name) {
        s_collator = std::make_unique<QCollator>(locale);
        s_collator->setCaseSensitivity(Qt::CaseInsensitive);
        s_name = name;
    }
    return *s_collator;
}

} // namespace

namespace TextOrder {

int Compare(const QString& a, const QString& b)
{
    return Collator().compare(a, b);
}

QCollatorSortKey SortKey(const QString& text)
{
    return Collator().sortKey(text);
}

} // namespace TextOrder
