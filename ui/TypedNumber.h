#pragma once

#include <QLocale>
#include <QString>

// A number as a person types it: with the point or the desktop's decimal
// sign, and the desktop's group separators where they belong (a blank
// stands for a blank-like separator). A text that reads as two different
// numbers, such as "1.000" where the point also groups thousands, is
// refused, as are infinities and NaN.
class CTypedNumber {
public:
    explicit CTypedNumber(const QString& text, const QLocale& locale = QLocale());

    bool IsValid() const { return m_valid; }
    bool IsEmpty() const { return m_empty; }
    // Read as two different numbers (and so refused).
    bool IsAmbiguous() const { return m_ambiguous; }
    double Value() const { return m_value; }
    bool IsWhole() const;
    // Typed as an integer: a sign, digits and the desktop's group separators
    // only; no decimal sign, no exponent ("1e3" is no integer).
    bool IsInteger() const { return m_valid && m_digits; }
    // Why the text is no number; empty for a number.
    const QString& Message() const { return m_message; }

private:
    double m_value = 0.0;
    bool m_valid = false;
    bool m_empty = false;
    bool m_ambiguous = false;
    bool m_digits = false;
    QString m_message;
};
