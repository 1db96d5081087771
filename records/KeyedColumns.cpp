#include "records/KeyedColumns.h"

#include "ui/MyListCtrl.h"

QList<int> CreateKeyedList(CMyListCtrl& list, CTreeListDlg* owner, const QString& layoutKey,
                           const QList<CKeyedColumn>& table)
{
    const int count = static_cast<int>(table.size());
    QString layout;
    list.LoadLayout(true, layoutKey, layout, count);
    QStringList titles;
    QList<int> formats;
    QList<int> widths;
    QList<int> keys;
    for (int key = 0; key < count; ++key) {
        titles << QString::fromLatin1(table.at(key).caption);
        formats << table.at(key).format;
        widths << table.at(key).width;
        keys << key;
    }
    if (list.ArrangeColumns(titles, formats, widths)) {
        keys.clear();
        for (const QString& id : list.LayoutColumnIds().mid(0, count))
            keys << id.trimmed().toInt();
    }
    list.CreateList(QRect(), owner, titles, formats, widths);
    QList<int> kinds;
    for (int key : std::as_const(keys))
        kinds << table.at(key).kind;
    list.SetColumnKinds(kinds);
    return keys;
}

QStringList PlaceByKey(const QList<int>& columnKeys, const QStringList& textsByKey)
{
    QStringList texts;
    for (int key : columnKeys)
        texts << textsByKey.value(key);
    return texts;
}
