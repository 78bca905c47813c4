#include "shell/FflIconList.h"

#include "shell/IconExtractor.h"

#include "platform/ShellFolder.h"

#include <QBitmap>

#include <algorithm>
#include <QGuiApplication>
#include <QImage>
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
    return m_overlays[slot];
}

int TFflIconList::setResourceOverlay(int slot, const QByteArray &name)
{
    if (slot < 0 || slot >= kOverlaySlots)
        return -1;
    m_overlays[slot] = acquireIcon(nullptr, name, 0);
    return m_overlays[slot];
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
