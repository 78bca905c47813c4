#include "shell/FflIconList.h"

#include "shell/IconExtractor.h"

#include "namespace/ShellFolder.h"

#include <QBitmap>

#include <algorithm>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

namespace {

// Equal ignoring letter case; theme and resource names are nearly always ASCII.
bool sameLocation(const QByteArray &held, const QByteArray &location, const QString &wanted)
{
    if (held.compare(location, Qt::CaseInsensitive) == 0)
        return true;
    const auto ascii = [](const QByteArray &s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return std::uint8_t(c) < 0x80; });
    };
    if (ascii(held) && ascii(location))
        return false;
    return QString::fromUtf8(held).compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace

static void initShellResources()
{
    Q_INIT_RESOURCE(shell);
}

TFflIconList::TFflIconList(QObject *owner, bool small)
    : QObject(owner)
    , m_size(small ? QSize(16, 16) : QSize(48, 48))
    , m_background(QGuiApplication::palette().color(QPalette::Base))
{
    static const bool resources = (initShellResources(), true);
    Q_UNUSED(resources);
}

TFflIconList::~TFflIconList() = default;

QPixmap TFflIconList::resourceBitmap(const QByteArray &name)
{
    if (name.isEmpty())
        return QPixmap();
    QImage image(QStringLiteral(":/shell/%1.png").arg(QString::fromUtf8(name)));
    if (image.isNull())
        return QPixmap();
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb magenta = qRgb(255, 0, 255);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (magenta & 0xFFFFFF))
                line[x] = 0;
        }
    }
    return QPixmap::fromImage(image);
}

QPixmap TFflIconList::makeImage(const IconExtractor *extractor, const QByteArray &location, int index) const
{
    if (location.isEmpty())
        return systemImage(index, m_size.width());
    if (!extractor) {
        // A strip of square cells, as wide as the list's images.
        const QPixmap strip = resourceBitmap(location);
        const int side = m_size.width();
        if (strip.isNull() || index < 0 || (index + 1) * side > strip.width())
            return QPixmap();
        return strip.copy(index * side, 0, side, std::min(side, strip.height()));
    }
    try {
        return extractor->extract(location, index, m_size.width());
    } catch (...) {
        return QPixmap();
    }
}

int TFflIconList::acquireIcon(const IconExtractor *extractor, const QByteArray &location, int index)
{
    if (m_images.size() > m_entries.size())
        return -1;
    const QString wanted = QString::fromUtf8(location);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        TFflIconRefs &entry = m_entries[i];
        if (entry.iconIndex == index && sameLocation(entry.location, location, wanted)) {
            ++entry.refCount;
            return int(i);
        }
    }
    const QPixmap picture = makeImage(extractor, location, index);
    if (picture.isNull())
        return -1;
    m_images.append(picture);
    m_entries.append({location, index, 1});
    return int(m_entries.size() - 1);
}

bool TFflIconList::releaseIcon(int imageIndex)
{
    if (imageIndex < 0 || imageIndex >= m_images.size() || imageIndex >= m_entries.size())
        return false;
    if (--m_entries[imageIndex].refCount > 0)
        return false;
    // Composed icons name images by index, and the later ones move down.
    m_composed.clear();
    m_images.removeAt(imageIndex);
    m_entries.removeAt(imageIndex);
    for (int &slot : m_overlays) {
        if (slot == imageIndex)
            slot = -1;
        else if (slot > imageIndex)
            --slot;
    }
    return true;
}

int TFflIconList::setShellOverlay(int slot, const shellns::ShellFolder *folder,
                                  const shellns::ItemIdList &itemId)
{
    if (slot < 0 || slot >= kOverlaySlots)
        return -1;
    if (m_overlays[slot] >= 0)
        return m_overlays[slot];
    if (!folder)
        return -1;
    const auto systemIndex = folder->overlayIconIndex(itemId);
    if (!systemIndex)
        return -1;
    m_overlays[slot] = acquireIcon(nullptr, QByteArray(), *systemIndex);
    m_composed.clear();
    return m_overlays[slot];
}

int TFflIconList::setResourceOverlay(int slot, const QByteArray &name)
{
    if (slot < 0 || slot >= kOverlaySlots)
        return -1;
    m_overlays[slot] = acquireIcon(nullptr, name, 0);
    m_composed.clear();
    return m_overlays[slot];
}

FflItemIcons TFflIconList::acquireItemIcons(const IconExtractor *extractor, const shellns::ShellFolder &folder,
                                           const shellns::ItemIdList &itemId, std::uint32_t attributes)
{
    using namespace shellns;
    FflItemIcons icons;
    if (const auto normal = folder.iconLocation(itemId, 0)) {
        icons.image = acquireIcon(extractor, normal->location, normal->index);
        icons.selected = icons.image;
        if (const auto open = folder.iconLocation(itemId, iconflags::kOpenIcon)) {
            const int opened = acquireIcon(extractor, open->location, open->index);
            // The same picture open and shut holds one reference, given back once.
            if (opened == icons.image && opened >= 0)
                releaseIcon(opened);
            else
                icons.selected = opened;
        }
    }
    if (attributes & attr::kShare) {
        setShellOverlay(1, &folder, itemId);
        icons.overlay = 1;
    }
    // A shared link shows the link overlay.
    if (attributes & attr::kLink) {
        setShellOverlay(2, &folder, itemId);
        icons.overlay = 2;
    }
    return icons;
}

void TFflIconList::releaseItemIcons(FflItemIcons icons, const std::function<void(int)> &removed)
{
    if (icons.selected != icons.image && releaseIcon(icons.selected)) {
        if (removed)
            removed(icons.selected);
        if (icons.image > icons.selected)
            --icons.image;
    }
    if (releaseIcon(icons.image) && removed)
        removed(icons.image);
}

QIcon TFflIconList::itemIcon(const FflItemIcons &icons, bool cut) const
{
    if (icons.image < 0)
        return QIcon();
    const quint64 key = quint64(quint16(icons.image + 1)) | (quint64(quint16(icons.selected + 1)) << 16)
        | (quint64(quint16(icons.overlay + 1)) << 32) | (quint64(cut) << 48);
    const auto cached = m_composed.constFind(key);
    if (cached != m_composed.constEnd())
        return *cached;

    const QPixmap overlayImage = image(overlay(icons.overlay));
    auto compose = [&](int index) {
        QPixmap picture = image(index);
        if (picture.isNull())
            return picture;
        QPixmap result(picture.size());
        result.fill(Qt::transparent);
        QPainter painter(&result);
        if (cut)
            painter.setOpacity(0.45);
        painter.drawPixmap(0, 0, picture);
        if (!overlayImage.isNull())
            painter.drawPixmap(0, 0, overlayImage);
        return result;
    };
    QIcon icon;
    const QPixmap normal = compose(icons.image);
    if (!normal.isNull()) {
        icon.addPixmap(normal, QIcon::Normal);
        const QPixmap open = icons.selected >= 0 ? compose(icons.selected) : normal;
        icon.addPixmap(open.isNull() ? normal : open, QIcon::Selected);
    }
    m_composed.insert(key, icon);
    return icon;
}

QPixmap TFflIconList::image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QPixmap();
}

int TFflIconList::overlay(int slot) const
{
    return slot >= 0 && slot < kOverlaySlots ? m_overlays[slot] : -1;
}

int TFflIconList::addImage(const QPixmap &image)
{
    m_images.append(image);
    return int(m_images.size() - 1);
}
