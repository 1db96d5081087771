#pragma once

#include <QLabel>

// A one-line label that cuts a text too long for it with an ellipsis where
// it says least (a path keeps its start and its file name) instead of
// wrapping it mid-word; the whole text is its tool tip.
class CElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit CElidedLabel(QWidget* parent = nullptr, Qt::TextElideMode mode = Qt::ElideMiddle);

    void SetFullText(const QString& text);
    QString FullText() const { return m_full; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();

    QString m_full;
    Qt::TextElideMode m_mode;
};
