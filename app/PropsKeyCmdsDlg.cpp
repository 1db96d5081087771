#include "app/PropsKeyCmdsDlg.h"

#include "app/KeyCommands.h"
#include "platform/MessageBox.h"
#include "ui/CharacterLimit.h"
#include "ui/ComboItems.h"
#include "ui/ResourceIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CPropsKeyCmdsDlg::CPropsKeyCmdsDlg(CPropsDef& sheet)
    : CPropertyPage(sheet, IDD_PROPS_KEY_COMMANDS, QStringLiteral("Key Commands"))
{
    m_texts = {{{"TSKey", NewEdit(IDC_TS_KEY), {}, {}},
                {"IKey", NewEdit(IDC_INSERTION_KEY), {}, {}},
                {"HKey", NewEdit(IDC_HIGHLIGHT_KEY), {}, {}},
                {"RemHKey", NewEdit(IDC_REMOVE_HIGHLIGHT_KEY), {}, {}},
                {"SelPrjKey", NewEdit(IDC_SELECT_PROJECT_KEY), {}, {}},
                {"SelMenuKey", NewEdit(IDC_OPEN_MENU_KEY), {}, {}}}};
    m_choices = {{{"scrUp", NewCombo(IDC_SCROLL_UP_KEY), 0},
                  {"scrDwn", NewCombo(IDC_SCROLL_DOWN_KEY), 1},
                  {"pgUp", NewCombo(IDC_PAGE_UP_KEY), 2},
                  {"pgDwn", NewCombo(IDC_PAGE_DOWN_KEY), 3},
                  {"RsTUp", NewCombo(IDC_RESIZE_TOP_UP_KEY), 0},
                  {"sysRsTUp", NewCombo(IDC_RESIZE_TOP_UP_MOD), 0},
                  {"RsTDwn", NewCombo(IDC_RESIZE_TOP_DOWN_KEY), 1},
                  {"sysRsTDwn", NewCombo(IDC_RESIZE_TOP_DOWN_MOD), 1},
                  {"RsBUp", NewCombo(IDC_RESIZE_BOTTOM_UP_KEY), 0},
                  {"sysRsBUp", NewCombo(IDC_RESIZE_BOTTOM_UP_MOD), 1},
                  {"RsBDwn", NewCombo(IDC_RESIZE_BOTTOM_DOWN_KEY), 1},
                  {"sysRsBDwn", NewCombo(IDC_RESIZE_BOTTOM_DOWN_MOD), 0}}};
    for (CTextKey& text : m_texts)
        text.edit->setMaximumWidth(60);
    // One character: the key is the character typed.
    LimitCharacters(m_texts[0].edit, 1);
    m_focusRect = NewCheck(IDC_DRAW_FOCUS_RECT, QStringLiteral("Draw &focus rectangle"));
    m_buttonNames = NewCheck(IDC_SHOW_BUTTON_NAMES, QStringLiteral("Sho&w button names"));

    const auto edit = [this](const char* key) {
        for (CTextKey& text : m_texts)
            if (qstrcmp(text.key, key) == 0)
                return text.edit;
        return static_cast<QLineEdit*>(nullptr);
    };
    const auto combo = [this](const char* key) {
        for (CChoice& choice : m_choices)
            if (qstrcmp(choice.key, key) == 0)
                return choice.combo;
        return static_cast<QComboBox*>(nullptr);
    };

    auto* keys = new QGroupBox(this);
    auto* keyGrid = new QGridLayout(keys);
    int row = 0;
    const auto label = [&](const char* key, const QString& text) {
        for (CTextKey& typed : m_texts)
            if (qstrcmp(typed.key, key) == 0)
                typed.label = QString(text).remove(QLatin1Char('&'));
        return NewLabel(text, edit(key));
    };
    const auto addKey = [&](const QString& text, const char* key) {
        keyGrid->addWidget(label(key, text), row, 0);
        keyGrid->addWidget(edit(key), row, 1);
        ++row;
    };
    addKey(QStringLiteral("Create &timesheet entry"), "TSKey");
    addKey(QStringLiteral("&Show/Hide Cursor"), "IKey");
    keyGrid->addWidget(label("HKey", QStringLiteral("&Highlight entry")), row, 0);
    keyGrid->addWidget(edit("HKey"), row, 1);
    keyGrid->addWidget(label("RemHKey", QStringLiteral("Remove")), row, 2);
    keyGrid->addWidget(edit("RemHKey"), row, 3);
    m_texts[3].label = QStringLiteral("Remove highlight");
    ++row;
    addKey(QStringLiteral("Select &a project"), "SelPrjKey");
    addKey(QStringLiteral("Open &menu"), "SelMenuKey");
    keyGrid->setColumnStretch(4, 1);

    auto* scrolling = new QGroupBox(QStringLiteral("Scrolling "), this);
    auto* scrollGrid = new QGridLayout(scrolling);
    scrollGrid->addWidget(NewLabel(QStringLiteral("Up"), combo("scrUp")), 0, 0);
    scrollGrid->addWidget(combo("scrUp"), 0, 1);
    scrollGrid->addWidget(NewLabel(QStringLiteral("Down"), combo("scrDwn")), 1, 0);
    scrollGrid->addWidget(combo("scrDwn"), 1, 1);
    scrollGrid->addWidget(NewLabel(QStringLiteral("Page  Up"), combo("pgUp")), 0, 2);
    scrollGrid->addWidget(combo("pgUp"), 0, 3);
    scrollGrid->addWidget(NewLabel(QStringLiteral("Page  Down"), combo("pgDwn")), 1, 2);
    scrollGrid->addWidget(combo("pgDwn"), 1, 3);

    auto* resize = new QGroupBox(QStringLiteral("Resize"), this);
    auto* resizeGrid = new QGridLayout(resize);
    const struct {
        const char* label;
        const char* key;
        const char* modifier;
    } kResize[] = {{"T&op : up", "RsTUp", "sysRsTUp"},
                   {"Top : dow&n", "RsTDwn", "sysRsTDwn"},
                   {"Bott&om : &up", "RsBUp", "sysRsBUp"},
                   {"&Bottom :down", "RsBDwn", "sysRsBDwn"}};
    int line = 0;
    for (const auto& r : kResize) {
        resizeGrid->addWidget(NewLabel(QString::fromLatin1(r.label), combo(r.modifier)), line, 0);
        resizeGrid->addWidget(combo(r.modifier), line, 1);
        resizeGrid->addWidget(combo(r.key), line, 2);
        ++line;
    }
    resizeGrid->setColumnStretch(3, 1);

    auto* checks = new QVBoxLayout;
    checks->addWidget(m_focusRect);
    checks->addWidget(m_buttonNames);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(keys);
    layout->addWidget(scrolling);
    layout->addWidget(resize);
    layout->addLayout(checks);
    layout->addStretch();

    for (CChoice& choice : m_choices)
        connect(choice.combo, &QComboBox::activated, this, [this] {
            ReadControls();
            SetChanged();
        });
    for (CTextKey& text : m_texts)
        connect(text.edit, &QLineEdit::textEdited, this, [this] {
            ReadControls();
            SetChanged();
        });
    connect(m_focusRect, &QCheckBox::clicked, this, [this] {
        ReadControls();
        SetChanged();
    });
    connect(m_buttonNames, &QCheckBox::clicked, this, [this] { SetChanged(); });
}

void CPropsKeyCmdsDlg::LoadValues(const CProfile::CValues& values)
{
    for (CTextKey& text : m_texts)
        text.value = values.Text(text.key);
    for (CChoice& choice : m_choices)
        choice.value = values.Int(choice.key);
    m_drawFocusRect = values.Bool("drwFocusRect");
    m_showButtons = values.Bool("showbuts");
}

void CPropsKeyCmdsDlg::StoreValues(CProfile::CValues& values) const
{
    for (const CTextKey& text : m_texts)
        values.Set(text.key, text.value);
    for (const CChoice& choice : m_choices)
        values.Set(choice.key, choice.value);
    values.Set("drwFocusRect", m_drawFocusRect);
    values.Set("showbuts", m_showButtons);
}

void CPropsKeyCmdsDlg::OnInitPage()
{
    for (CTextKey& text : m_texts)
        text.edit->setText(text.value);
    for (CChoice& choice : m_choices) {
        choice.combo->clear();
        CComboItems items(choice.combo);
        if (qstrncmp(choice.key, "sys", 3) == 0)
            CKeyCommands::FillModifierCombo(items);
        else
            CKeyCommands::FillKeyCombo(items);
        // A choice the list does not name shows nothing and stays as stored.
        Select(choice.combo, choice.value);
    }
    m_focusRect->setChecked(m_drawFocusRect);
    m_buttonNames->setChecked(m_showButtons);
}

void CPropsKeyCmdsDlg::ReadControls()
{
    for (CTextKey& text : m_texts)
        text.value = text.edit->text();
    for (CChoice& choice : m_choices)
        if (choice.combo->currentIndex() >= 0)
            choice.value = choice.combo->itemData(choice.combo->currentIndex()).toInt();
    m_drawFocusRect = m_focusRect->isChecked();
    m_showButtons = m_buttonNames->isChecked();
}

bool CPropsKeyCmdsDlg::CheckTypedKeys()
{
    for (CTextKey& text : m_texts) {
        if (text.value.isEmpty() || CKeyCommands::KeyOfText(text.value) != 0)
            continue;
        ShowMessageBox(QStringLiteral("\"%1\" cannot be the key of \"%2\": no key of its own "
                                      "types it. Choose a letter, a digit, a punctuation "
                                      "mark typed without Shift or the space bar.")
                           .arg(text.value.left(1), text.label),
                       kMbOk | kMbIconWarning);
        text.edit->setFocus();
        text.edit->selectAll();
        return false;
    }
    return true;
}

bool CPropsKeyCmdsDlg::DoDataExchange(bool saveAndValidate)
{
    if (!saveAndValidate)
        return true;
    ReadControls();
    return CheckTypedKeys();
}

void CPropsKeyCmdsDlg::OnOK()
{
    ReadControls();
}
