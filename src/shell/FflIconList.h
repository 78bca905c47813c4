#pragma once
// An image list that caches shell icons and shares them.
//
// Each image is described by an entry (location, index, reference count);
// acquiring an icon that is already held returns the same image and counts
// one more user, releasing the last user removes the image and moves the
// later ones down by one. Three overlay slots (0 to 2) name the images drawn
// over an item's icon. Owned by the component that shows the icons.
//
// For a shell item the list also acquires the whole set a row shows (its
// image, open image and overlay) and composes them into one icon, cut items
// dimmed; composed icons are cached until an image is removed.
#include "shell/FflIconRefs.h"

#include "namespace/ItemIdList.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSize>

#include <array>
#include <functional>

class IconExtractor;
namespace shellns {
class ShellFolder;
}

// The pictures of one shell item, as indices into its icon list.
struct FflItemIcons
{
    int image = -1;    // normal image
    int selected = -1; // image when selected (the open folder), may equal `image`
    int overlay = -1;  // overlay slot 0 to 2
};

class TFflIconList : public QObject
{
    Q_OBJECT

public:
    static constexpr int kOverlaySlots = 3;

    TFflIconList(QObject *owner, bool small);
    ~TFflIconList() override;

    // Image index of the icon at (location, index), -1 when it cannot be had.
    // An empty location names a shell system image; no extractor names a
    // bitmap resource (a strip of square cells, `index` picks the cell).
    int acquireIcon(const IconExtractor *extractor, const QByteArray &location, int index);
    // True when this was the last user and the image is gone.
    bool releaseIcon(int imageIndex);
    // Fills an empty overlay slot with the shell's overlay for an item.
    int setShellOverlay(int slot, const shellns::ShellFolder *folder, const shellns::ItemIdList &itemId);
    int setResourceOverlay(int slot, const QByteArray &name);

    // Acquires the normal and open images of an item of `folder` and fills
    // the overlay slot its attributes ask for (shared 1, link 2). An open
    // image equal to the normal one holds no second reference.
    FflItemIcons acquireItemIcons(const IconExtractor *extractor, const shellns::ShellFolder &folder,
                                  const shellns::ItemIdList &itemId, std::uint32_t attributes);
    // Gives back what acquireItemIcons took, the open image first. Each
    // image removed from the list is passed to `removed`, so the caller can
    // move down the indices it keeps that lie above it.
    void releaseItemIcons(FflItemIcons icons, const std::function<void(int)> &removed);
    // The item's icon: its image with its overlay, the open image for the
    // selected state, dimmed when `cut`. Null when it has no image.
    QIcon itemIcon(const FflItemIcons &icons, bool cut) const;

    QSize iconSize() const { return m_size; }
    QColor backgroundColor() const { return m_background; }
    int count() const { return int(m_images.size()); }
    QPixmap image(int index) const;
    const QList<TFflIconRefs> &entries() const { return m_entries; }
    // Image index registered for an overlay slot, -1 for none.
    int overlay(int slot) const;
    // Adds an image without an entry, as the plain image list would.
    int addImage(const QPixmap &image);

    // Bitmap resource by name, magenta made transparent; null when missing.
    static QPixmap resourceBitmap(const QByteArray &name);

private:
    QPixmap makeImage(const IconExtractor *extractor, const QByteArray &location, int index) const;

    QSize m_size;
    QColor m_background;
    QList<QPixmap> m_images;
    QList<TFflIconRefs> m_entries;
    std::array<int, kOverlaySlots> m_overlays{-1, -1, -1};
    mutable QHash<quint64, QIcon> m_composed;
};
