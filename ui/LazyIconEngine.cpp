#include "ui/LazyIconEngine.h"

#include <QPainter>

CLazyIconEngine::CLazyIconEngine(std::function<QIcon()> make)
    : m_shared(std::make_shared<CShared>())
{
    m_shared->make = std::move(make);
}

QIcon& CLazyIconEngine::Icon()
{
    if (!m_shared->made) {
        m_shared->made = true;
        m_shared->icon = m_shared->make();
    }
    return m_shared->icon;
}

void CLazyIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                            QIcon::State state)
{
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap CLazyIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return Icon().pixmap(size, mode, state);
}

QPixmap CLazyIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                      qreal scale)
{
    return Icon().pixmap(size, scale, mode, state);
}

QSize CLazyIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return Icon().actualSize(size, mode, state);
}

QList<QSize> CLazyIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return Icon().availableSizes(mode, state);
}

QString CLazyIconEngine::iconName()
{
    return Icon().name();
}

// Copying an icon asks whether it is null: that alone does not make it.
bool CLazyIconEngine::isNull()
{
    return m_shared->made && m_shared->icon.isNull();
}

QIconEngine* CLazyIconEngine::clone() const
{
    auto* copy = new CLazyIconEngine(nullptr);
    copy->m_shared = m_shared;
    return copy;
}

QString CLazyIconEngine::key() const
{
    return QStringLiteral("CLazyIconEngine");
}
