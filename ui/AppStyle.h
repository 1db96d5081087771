#pragma once

#include <QProxyStyle>

// The program's style: the desktop's own, except that the arrows of the
// menu bar's and tool bars' overflow buttons are read when first shown.
// Qt reads them as every menu bar is made, and reading its first image
// loads every image plugin, which is most of the time a menu bar costs
// the first window; the arrows show only on a bar too narrow for its menus.
class CAppStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The style of that name (as QStyleFactory knows it) underneath.
    explicit CAppStyle(const QString& baseName);

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
