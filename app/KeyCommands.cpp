#include "app/KeyCommands.h"

#include "data/ItemList.h"

namespace {

struct Choice {
    const char* name;
    int value;
};

// Both tables end with an empty name.
constexpr Choice kModifierChoices[] = {
    {"NONE", -1}, {"SHIFT", CKeyCommands::kModShift}, {"CNTL", CKeyCommands::kModCtrl}, {"", 0}};
constexpr Choice kKeyChoices[] = {{"Up Arrow", CKeyCommands::kVkUp},
                                  {"Down Arrow", CKeyCommands::kVkDown},
                                  {"Page Up", CKeyCommands::kVkPageUp},
                                  {"Page Down", CKeyCommands::kVkPageDown},
                                  {"", 0}};

template <std::size_t N>
int ChoiceValue(const Choice (&table)[N], int choice)
{
    return choice >= 0 && choice < int(N) - 1 ? table[choice].value : -1;
}

template <std::size_t N>
void FillChoices(const Choice (&table)[N], IItemList& combo)
{
    if (!combo.IsValid())
        return;
    for (int i = 0; table[i].name[0] != '\0'; ++i)
        combo.AddItem(QString::fromLatin1(table[i].name), i);
}

} // namespace

void CKeyCommands::SetKeyCommand(int index, const QString& name, int modifier,
                                 const QString& keyText, int command, bool highlight, bool edit)
{
    if (index < 0 || index >= kCount)
        return;
    CKeyCommand& entry = m_entries[index];
    entry.name = name;
    entry.modifier = modifier;
    entry.keyText = keyText.toUpper();
    entry.keyCode = entry.keyText.isEmpty() ? 0 : (entry.keyText.at(0).unicode() & 0x7F);
    entry.command = command;
    entry.highlight = highlight;
    entry.edit = edit;
}

int CKeyCommands::ModifierOfChoice(int choice)
{
    return ChoiceValue(kModifierChoices, choice);
}

int CKeyCommands::ModifierOfName(const QString& name)
{
    for (int i = 0; kModifierChoices[i].name[0] != '\0'; ++i)
        if (name.compare(QLatin1String(kModifierChoices[i].name), Qt::CaseInsensitive) == 0)
            return kModifierChoices[i].value;
    return -1;
}

int CKeyCommands::VirtualKeyOfChoice(int choice)
{
    return ChoiceValue(kKeyChoices, choice);
}

QString CKeyCommands::KeyTextOfChoice(int choice)
{
    const int key = VirtualKeyOfChoice(choice);
    return key < 0 ? QString() : QString(QChar(key));
}

void CKeyCommands::FillModifierCombo(IItemList& combo)
{
    FillChoices(kModifierChoices, combo);
}

void CKeyCommands::FillKeyCombo(IItemList& combo)
{
    FillChoices(kKeyChoices, combo);
}

void CKeyCommands::Build(const CProfile::CValues& keys)
{
    const QString ts = keys.Text("TSKey");
    const QString ins = keys.Text("IKey");
    const QString hi = keys.Text("HKey");
    const QString remHi = keys.Text("RemHKey");
    const QString selPrj = keys.Text("SelPrjKey");
    const QString selMenu = keys.Text("SelMenuKey");
    const QString scrUp = KeyTextOfChoice(keys.Int("scrUp"));
    const QString scrDwn = KeyTextOfChoice(keys.Int("scrDwn"));
    const QString pgUp = KeyTextOfChoice(keys.Int("pgUp"));
    const QString pgDwn = KeyTextOfChoice(keys.Int("pgDwn"));
    const QString apps{QChar(kVkApps)};
    const QString tsName = QStringLiteral("TS Entry");
    const QString insName = QStringLiteral("Insertion");
    const QString hiName = QStringLiteral("Highlight");
    const QString selPrjName = QStringLiteral("SelPrj");
    const QString selMenuName = QStringLiteral("SelMenu");
    const QString scrollUp = QStringLiteral("Scroll Up");
    const QString scrollDown = QStringLiteral("Scroll Dwn");
    const QString pageUp = QStringLiteral("Page Up");
    const QString pageDown = QStringLiteral("Page Dwn");

    SetKeyCommand(0, tsName, -1, ts, 12863, false, false);
    SetKeyCommand(1, tsName, -1, ts, 12863, true, true);
    SetKeyCommand(2, insName, -1, ins, 12865, false, false);
    SetKeyCommand(3, insName, -1, ins, 12866, false, false);
    SetKeyCommand(4, insName, -1, ins, 12865, true, true);
    SetKeyCommand(5, insName, -1, ins, 12866, true, true);
    SetKeyCommand(6, scrollUp, -1, scrUp, 12878, false, false);
    SetKeyCommand(7, scrollDown, -1, scrDwn, 12879, false, false);
    SetKeyCommand(8, pageUp, -1, pgUp, 12871, false, false);
    SetKeyCommand(9, pageDown, -1, pgDwn, 12872, false, false);
    SetKeyCommand(10, pageUp, -1, pgUp, 12871, true, true);
    SetKeyCommand(11, pageDown, -1, pgDwn, 12872, true, true);
    SetKeyCommand(12, hiName, -1, hi, 12867, false, false);
    SetKeyCommand(13, hiName, -1, hi, 12867, true, true);
    SetKeyCommand(14, hiName, kModShift, hi, 12867, false, false);
    SetKeyCommand(15, hiName, kModShift, hi, 12867, true, true);
    SetKeyCommand(16, QStringLiteral("RemHighlight"), -1, remHi, 12875, false, false);
    SetKeyCommand(17, QStringLiteral("RemHighlight"), -1, remHi, 12875, true, true);
    SetKeyCommand(18, QStringLiteral("Resize Top Up"), ModifierOfChoice(keys.Int("sysRsTUp")),
                  KeyTextOfChoice(keys.Int("RsTUp")), 12869, true, false);
    SetKeyCommand(19, QStringLiteral("Resize Top Dwn"), ModifierOfChoice(keys.Int("sysRsTDwn")),
                  KeyTextOfChoice(keys.Int("RsTDwn")), 12870, true, false);
    SetKeyCommand(20, QStringLiteral("Resize Bot Up"), ModifierOfChoice(keys.Int("sysRsBUp")),
                  KeyTextOfChoice(keys.Int("RsBUp")), 12876, true, false);
    SetKeyCommand(21, QStringLiteral("Resize Bot Dwn"), ModifierOfChoice(keys.Int("sysRsBDwn")),
                  KeyTextOfChoice(keys.Int("RsBDwn")), 12877, true, false);
    SetKeyCommand(22, selPrjName, -1, selPrj, 12864, false, false);
    SetKeyCommand(23, selPrjName, -1, selPrj, 12864, true, true);
    SetKeyCommand(24, selPrjName, kModShift, selPrj, 12864, false, false);
    SetKeyCommand(25, selPrjName, kModShift, selPrj, 12864, true, true);
    SetKeyCommand(26, selPrjName, kModCtrl, selPrj, 12864, false, false);
    SetKeyCommand(27, selPrjName, kModCtrl, selPrj, 12864, true, true);
    SetKeyCommand(28, selMenuName, -1, selMenu, 12868, false, false);
    SetKeyCommand(29, selMenuName, -1, selMenu, 12868, true, true);
    SetKeyCommand(30, selMenuName, -1, apps, 12868, false, false);
    SetKeyCommand(31, selMenuName, -1, apps, 12868, true, true);
    SetKeyCommand(32, scrollUp, -1, scrUp, 12878, false, true);
    SetKeyCommand(33, scrollDown, -1, scrDwn, 12879, false, true);
    SetKeyCommand(34, QString(), 0, QString(), 0, false, false);
}

bool CKeyCommands::FindKeyCommand(int key, int& index, bool highlighted, bool editing,
                                  bool ctrlDown, bool shiftDown) const
{
    index = -1;
    for (int i = 0; i < kCount && !m_entries[i].name.isEmpty(); ++i) {
        const CKeyCommand& entry = m_entries[i];
        if (entry.keyCode != key)
            continue;
        const bool flagsFit = (highlighted || editing)
                                  ? (!highlighted || entry.highlight) && (!editing || entry.edit)
                                  : !entry.highlight && !entry.edit;
        if (!flagsFit)
            continue;
        const bool plain = entry.modifier != kModShift && entry.modifier != kModCtrl;
        if ((ctrlDown && entry.modifier == kModCtrl) ||
            (shiftDown && entry.modifier == kModShift) || (!ctrlDown && !shiftDown && plain)) {
            index = i;
            return true;
        }
    }
    return false;
}
