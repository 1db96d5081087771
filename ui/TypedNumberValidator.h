#pragma once

#include <QValidator>

// Lets a field take what CTypedNumber reads, from min to max: digits, the
// point, the desktop's decimal sign and group separator, a sign and blanks
// may be typed; anything else is refused as it is typed.
class CTypedNumberValidator : public QValidator {
public:
    CTypedNumberValidator(double min, double max, QObject* parent);

    State validate(QString& input, int& pos) const override;

private:
    double m_min;
    double m_max;
};
