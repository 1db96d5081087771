#include "ui/TypedNumberValidator.h"

#include "ui/TypedNumber.h"

#include <QLocale>

CTypedNumberValidator::CTypedNumberValidator(double min, double max, QObject* parent)
    : QValidator(parent)
    , m_min(min)
    , m_max(max)
{}

QValidator::State CTypedNumberValidator::validate(QString& input, int&) const
{
    const QLocale locale;
    const CTypedNumber typed(input, locale);
    if (typed.IsValid())
        return typed.Value() >= m_min && typed.Value() <= m_max ? Acceptable : Intermediate;
    const QString marks = QStringLiteral(".,+-") + locale.decimalPoint() + locale.groupSeparator() +
                          locale.negativeSign() + locale.positiveSign();
    for (const QChar c : input)
        if (!(c >= u'0' && c <= u'9') && !marks.contains(c) && !c.isSpace() && c != QChar(0x00A0) &&
            c != QChar(0x202F))
            return Invalid;
    return Intermediate;
}
