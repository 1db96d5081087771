#include "treelist/ImageList.h"

#include <QApplication>
#include <QPixmap>
#include <QStyle>

namespace Sarvex {

namespace {

constexpr QSize kImageSize(16, 16);

QIcon DefaultImage()
{
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

} // namespace

CImageList::CImageList()
{
    const QIcon standard = DefaultImage();
    for (int i = 0; i < kInitialCount; ++i) {
        m_images.append(standard);
        m_iconIds.push_back(i);
    }
}

QIcon CImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? m_images[index] : QIcon();
}

QIcon CImageList::ImageWithSelected(int index) const
{
    const QIcon normal = Image(index);
    // The last image (any index from a node or row, up to the top of the
    // range) has no selected one after it.
    const QIcon selected = index >= 0 && index < Count() - 1 ? Image(index + 1) : QIcon();
    if (normal.isNull() || selected.isNull())
        return normal;
    QIcon both;
    both.addPixmap(normal.pixmap(kImageSize), QIcon::Normal);
    both.addPixmap(selected.pixmap(kImageSize), QIcon::Selected);
    return both;
}

bool CImageList::SetIcon(const QString& iconFile, const QString& selIconFile, int iconId,
                         int position, int maximum)
{
    if (maximum > kInitialCount) {
        const QIcon standard = DefaultImage();
        while (Count() < maximum)
            m_images.append(standard);
        m_images.resize(maximum);
        const std::size_t kept = std::min<std::size_t>(m_iconIds.size(), kInitialCount);
        m_iconIds.resize(kept);
        for (int i = static_cast<int>(kept); i < maximum; ++i)
            m_iconIds.push_back(i);
    }
    if (position < 0)
        return true;
    Load(iconFile, position);
    Load(selIconFile, position + 1);
    const auto slot = static_cast<std::size_t>(position);
    if (m_iconIds.size() < slot + 2)
        m_iconIds.resize(slot + 2);
    m_iconIds[slot] = iconId;
    m_iconIds[slot + 1] = iconId + 1;
    return true;
}

void CImageList::Load(const QString& file, int position)
{
    // An .ico holds several sizes; the icon picks the one nearest 16 x 16.
    const QPixmap pixmap = QIcon(file).pixmap(kImageSize);
    if (pixmap.isNull())
        return;
    const QIcon standard = DefaultImage();
    while (Count() <= position)
        m_images.append(standard);
    m_images[position] = QIcon(pixmap);
}

CImageDelegate::CImageDelegate(const CImageList& images, bool selectedImages, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_images(images)
    , m_selectedImages(selectedImages)
{}

void CImageDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != 0)
        return;
    bool ok = false;
    const int image = index.data(kImageRole).toInt(&ok);
    if (!ok)
        return;
    const QIcon icon = m_selectedImages ? m_images.ImageWithSelected(image) : m_images.Image(image);
    if (icon.isNull())
        return;
    option->icon = icon;
    option->decorationSize = kImageSize;
    option->features |= QStyleOptionViewItem::HasDecoration;
}

} // namespace Sarvex
