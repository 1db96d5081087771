#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>

// A 16 x 16 bitmap of 24-bit colour that can be filled with one colour: the
// colour swatches of the project combos.
class CColorBitmap {
public:
    static constexpr int kSize = 16;

    virtual ~CColorBitmap() = default;

    bool Load();
    // Every pixel the colour (a COLORREF, 0x00BBGGRR); false before Load.
    bool Fill(quint32 colorRef);
    const QImage& Image() const { return m_image; }
    QPixmap Pixmap() const { return QPixmap::fromImage(m_image); }

    static QColor ColorFromColorRef(quint32 colorRef);

private:
    QImage m_image;
};
