#pragma once
// An image list that caches shell icons and shares them.
//
// Each image is described by an entry (location, index, reference count);
// acquiring an icon that is already held returns the same image and counts
// one more user, releasing the last user removes the image and moves the
// later ones down by one. Three overlay slots (0 to 2) name the images drawn
// over an item's icon. Owned by the component that shows the icons.
#include "shell/FflIconRefs.h"

#include "platform/ItemIdList.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSize>

#include <array>

class IconExtractor;
namespace shellns {
class ShellFolder;
}

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
};
