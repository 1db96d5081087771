#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>
#include <memory>

// An icon made by `make` the first time anything of it is asked for, then
// answered by what it made. It counts as not null until it is made.
class CLazyIconEngine : public QIconEngine {
public:
    explicit CLazyIconEngine(std::function<QIcon()> make);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString iconName() override;
    bool isNull() override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    struct CShared {
        std::function<QIcon()> make;
        QIcon icon;
        bool made = false;
    };
    QIcon& Icon();

    // Copies of the icon share what is made, so it is made once.
    std::shared_ptr<CShared> m_shared;
};
