#include "ui/CharacterLimit.h"

#include "platform/Characters.h"

#include <QLineEdit>

CCharacterLimit::CCharacterLimit(int characters, QObject* parent)
    : QValidator(parent)
    , m_characters(characters)
{}

QValidator::State CCharacterLimit::validate(QString& input, int& pos) const
{
    if (input.size() > m_characters && CharacterCount(input) > m_characters) {
        input = LeftCharacters(input, m_characters);
        pos = qMin(pos, static_cast<int>(input.size()));
    }
    return Acceptable;
}

void LimitCharacters(QLineEdit* edit, int characters)
{
    edit->setValidator(new CCharacterLimit(characters, edit));
    if (CharacterCount(edit->text()) > characters)
        edit->setText(LeftCharacters(edit->text(), characters));
}

int CharacterLimit(const QLineEdit* edit)
{
    const auto* limit = qobject_cast<const CCharacterLimit*>(edit->validator());
    return limit ? limit->Limit() : -1;
}
