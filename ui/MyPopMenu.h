#pragma once

#include <QMenu>

// The context menu of the tree/list dialogs.
class CMyPopMenu : public QMenu {
    Q_OBJECT
public:
    explicit CMyPopMenu(QWidget* parent = nullptr)
        : QMenu(parent)
    {}
};
