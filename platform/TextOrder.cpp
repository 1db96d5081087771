#include "platform/TextOrder.h"

#include <QCollator>
#include <QLocale>

#include <memory>

namespace {

// The collator of the default locale, made again when that changes.
const QCollator& Collator()
{
    static std::unique_ptr<QCollator> s_collator;
    static QLocale s_default;
    const QLocale current;
    if (!s_collator || current != s_default) {
        QLocale language = current;
        // Qt orders the C locale by character codes.
        if (language.language() == QLocale::C)
            language = QLocale(QLocale::English, QLocale::UnitedStates);
        s_collator = std::make_unique<QCollator>(language);
        s_collator->setCaseSensitivity(Qt::CaseInsensitive);
        s_default = current;
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
