#pragma once

#include <QIcon>
#include <QList>
#include <QStyledItemDelegate>

#include <cstdint>
#include <vector>

namespace Sarvex {

// The 16 x 16 images of a pane, found by image index, and the icon ids the
// container gave for them. Items name their image by index, so a replaced
// image shows in every item at once.
class CImageList {
public:
    static constexpr int kInitialCount = 26;

    CImageList();

    int Count() const { return static_cast<int>(m_images.size()); }
    // A null icon for an index without an image.
    QIcon Image(int index) const;
    // The image at index, with the image at index + 1 for the selected state.
    QIcon ImageWithSelected(int index) const;
    const std::vector<std::int32_t>& IconIds() const { return m_iconIds; }
    void SetIconIds(std::vector<std::int32_t> ids) { m_iconIds = std::move(ids); }

    // Loads the two icon files at position and position + 1 and records
    // iconId and iconId + 1 there. A maximum above 26 sets the number of
    // images. A file that cannot be read leaves the image that was there.
    bool SetIcon(const QString& iconFile, const QString& selIconFile, int iconId, int position,
                 int maximum);

private:
    void Load(const QString& file, int position);

    QList<QIcon> m_images;
    std::vector<std::int32_t> m_iconIds;
};

// Draws an item's image from a pane's image list: column 0 of an item
// holding an image index in kImageRole.
class CImageDelegate : public QStyledItemDelegate {
public:
    static constexpr int kImageRole = Qt::UserRole + 1;

    CImageDelegate(const CImageList& images, bool selectedImages, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const CImageList& m_images;
    bool m_selectedImages;
};

} // namespace Sarvex
