#pragma once

#include <QValidator>

class QLineEdit;

// Keeps a line edit's text to a number of characters (code points). A line
// edit's own maximum length counts UTF-16 units and would cut a character
// outside the basic plane in half; this cuts typed and pasted text whole.
class CCharacterLimit : public QValidator {
    Q_OBJECT
public:
    CCharacterLimit(int characters, QObject* parent);

    State validate(QString& input, int& pos) const override;
    int Limit() const { return m_characters; }

private:
    int m_characters;
};

// Limits the edit to `characters` characters.
void LimitCharacters(QLineEdit* edit, int characters);
// The edit's character limit, or -1 when it has none.
int CharacterLimit(const QLineEdit* edit);
