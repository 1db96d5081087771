#include "ui/TextFit.h"

#include "platform/Characters.h"
#include "platform/MessageBox.h"

#include <QStringList>

bool FitToColumns(const QList<CColumnText>& texts)
{
    QStringList refused;
    for (const CColumnText& column : texts)
        if (column.text)
            if (const qsizetype at = BrokenCharacterAt(*column.text); at >= 0)
                refused << QStringLiteral("%1 holds half of a character (at position %2), which "
                                          "no database can store.")
                               .arg(column.subject, QString::number(at + 1));
    if (!refused.isEmpty()) {
        ShowMessageBox(refused.join(QLatin1Char('\n')), kMbOk | kMbIconWarning);
        return false;
    }
    QStringList cut;
    for (const CColumnText& column : texts) {
        if (!column.text || column.width <= 0 || CharacterCount(*column.text) <= column.width)
            continue;
        *column.text = LeftCharacters(*column.text, column.width);
        if (column.show)
            column.show(*column.text);
        cut << (column.cutMessage.isEmpty()
                    ? QStringLiteral("%1 can not be longer than %2 characters - it has been cut")
                          .arg(column.subject, QString::number(column.width))
                    : column.cutMessage);
    }
    if (!cut.isEmpty())
        ShowMessageBox(cut.join(QLatin1Char('\n')), kMbOk | kMbIconWarning);
    return true;
}
