#include "ui/Mnemonics.h"

QString EscapeMnemonics(const QString& text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}
