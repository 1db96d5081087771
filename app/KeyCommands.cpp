#include "app/KeyCommands.h"

#include "data/ItemList.h"
#include "ui/VirtualKeys.h"

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
    entry.keyCode = KeyOfText(keyText);
    entry.command = command;
    entry.highlight = highlight;
    entry.edit = edit;
}

void CKeyCommands::SetVirtualKeyCommand(int index, const QString& name, int modifier,
                                        int virtualKey, int command, bool highlight, bool edit)
{
    SetKeyCommand(index, name, modifier, QString(), command, highlight, edit);
    if (index < 0 || index >= kCount || virtualKey <= 0)
        return;
    m_entries[index].keyText = QString(QChar(virtualKey));
    m_entries[index].keyCode = virtualKey;
}

int CKeyCommands::KeyOfText(const QString& keyText)
{
    // A blank is the space bar's; other white space no key types alone.
    if (keyText.isEmpty())
        return 0;
    const QString first = keyText.left(1).toUpper();
    if (first.size() != 1)
        return 0; // "ß" upper-cases to "SS": no key of its own
    // Qt names the key of a Latin-1 character by its upper-case code.
    const int qtKey = first.at(0).unicode();
    const int virtualKey = QtKeyToVirtualKey(qtKey);
    // Only the key's own character: the one it types without Shift.
    return virtualKey != 0 && VirtualKeyToQtKey(virtualKey) == qtKey ? virtualKey : 0;
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
    const int scrUp = VirtualKeyOfChoice(keys.Int("scrUp"));
    const int scrDwn = VirtualKeyOfChoice(keys.Int("scrDwn"));
    const int pgUp = VirtualKeyOfChoice(keys.Int("pgUp"));
    const int pgDwn = VirtualKeyOfChoice(keys.Int("pgDwn"));
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
    SetVirtualKeyCommand(6, scrollUp, -1, scrUp, 12878, false, false);
    SetVirtualKeyCommand(7, scrollDown, -1, scrDwn, 12879, false, false);
    SetVirtualKeyCommand(8, pageUp, -1, pgUp, 12871, false, false);
    SetVirtualKeyCommand(9, pageDown, -1, pgDwn, 12872, false, false);
    SetVirtualKeyCommand(10, pageUp, -1, pgUp, 12871, true, true);
    SetVirtualKeyCommand(11, pageDown, -1, pgDwn, 12872, true, true);
    SetKeyCommand(12, hiName, -1, hi, 12867, false, false);
    SetKeyCommand(13, hiName, -1, hi, 12867, true, true);
    SetKeyCommand(14, hiName, kModShift, hi, 12867, false, false);
    SetKeyCommand(15, hiName, kModShift, hi, 12867, true, true);
    SetKeyCommand(16, QStringLiteral("RemHighlight"), -1, remHi, 12875, false, false);
    SetKeyCommand(17, QStringLiteral("RemHighlight"), -1, remHi, 12875, true, true);
    SetVirtualKeyCommand(18, QStringLiteral("Resize Top Up"),
                         ModifierOfChoice(keys.Int("sysRsTUp")),
                         VirtualKeyOfChoice(keys.Int("RsTUp")), 12869, true, false);
    SetVirtualKeyCommand(19, QStringLiteral("Resize Top Dwn"),
                         ModifierOfChoice(keys.Int("sysRsTDwn")),
                         VirtualKeyOfChoice(keys.Int("RsTDwn")), 12870, true, false);
    SetVirtualKeyCommand(20, QStringLiteral("Resize Bot Up"),
                         ModifierOfChoice(keys.Int("sysRsBUp")),
                         VirtualKeyOfChoice(keys.Int("RsBUp")), 12876, true, false);
    SetVirtualKeyCommand(21, QStringLiteral("Resize Bot Dwn"),
                         ModifierOfChoice(keys.Int("sysRsBDwn")),
                         VirtualKeyOfChoice(keys.Int("RsBDwn")), 12877, true, false);
    SetKeyCommand(22, selPrjName, -1, selPrj, 12864, false, false);
    SetKeyCommand(23, selPrjName, -1, selPrj, 12864, true, true);
    SetKeyCommand(24, selPrjName, kModShift, selPrj, 12864, false, false);
    SetKeyCommand(25, selPrjName, kModShift, selPrj, 12864, true, true);
    SetKeyCommand(26, selPrjName, kModCtrl, selPrj, 12864, false, false);
    SetKeyCommand(27, selPrjName, kModCtrl, selPrj, 12864, true, true);
    SetKeyCommand(28, selMenuName, -1, selMenu, 12868, false, false);
    SetKeyCommand(29, selMenuName, -1, selMenu, 12868, true, true);
    SetVirtualKeyCommand(30, selMenuName, -1, kVkApps, 12868, false, false);
    SetVirtualKeyCommand(31, selMenuName, -1, kVkApps, 12868, true, true);
    SetVirtualKeyCommand(32, scrollUp, -1, scrUp, 12878, false, true);
    SetVirtualKeyCommand(33, scrollDown, -1, scrDwn, 12879, false, true);
    SetKeyCommand(34, QString(), 0, QString(), 0, false, false);
}

bool CKeyCommands::FindKeyCommand(int key, int& index, bool highlighted, bool editing,
                                  bool ctrlDown, bool shiftDown) const
{
    index = -1;
    for (int i = 0; i < kCount && !m_entries[i].name.isEmpty(); ++i) {
        const CKeyCommand& entry = m_entries[i];
        // An entry without a key is never pressed, nor is a key without a code.
        if (key <= 0 || entry.keyCode != key)
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
