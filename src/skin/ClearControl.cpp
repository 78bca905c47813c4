#include "skin/ClearControl.h"

#include "platform/SystemColors.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr std::uint32_t kFuchsia = 0xFF00FF;
// Where an empty shape goes: one pixel far outside, so nothing shows.
const QRect kNowhere(-3000, -3000, 1, 1);

QEvent::Type updateRgnEventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

} // namespace

TClearControl::TClearControl(QWidget *parent)
    : QWidget(parent)
    , m_transparentColor(kFuchsia)
    , m_color(colors::clBtnFace)
    , m_lightColor(colors::clBtnHighlight)
    , m_shadowColor(colors::clBtnShadow)
{
    resize(260, 48);
    setMaximumSize(320, 320);
    // Key-coloured pixels are painted transparent and the parent shows there.
    setAttribute(Qt::WA_NoSystemBackground);
}

TClearControl::~TClearControl() = default;

void TClearControl::setTransparentColor(std::uint32_t color)
{
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    if (!m_picture.isNull() && !m_picture.hasAlphaChannel())
        m_pictureKey = color;
    rebuild();
}

void TClearControl::setBorderStyle(TBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    m_borderStyle = style;
    AutoSizeArrange();
    rebuild();
}

void TClearControl::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    AutoSizeArrange();
    rebuild();
}

void TClearControl::setCaptionLeft(int left)
{
    if (left == m_captionLeft)
        return;
    m_captionLeft = left;
    rebuild();
}

void TClearControl::setCaptionTop(int top)
{
    if (top == m_captionTop)
        return;
    m_captionTop = top;
    rebuild();
}

void TClearControl::setAutoSize(bool autoSize)
{
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    AutoSizeArrange();
}

void TClearControl::setStyle(TTransBtnStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    rebuild();
}

void TClearControl::setHotTrack(bool hotTrack)
{
    if (hotTrack == m_hotTrack)
        return;
    m_hotTrack = hotTrack;
    update();
}

void TClearControl::setColor(std::uint32_t color)
{
    if (color == m_color)
        return;
    m_color = color;
    rebuild();
}

void TClearControl::setLightColor(std::uint32_t color)
{
    if (color == m_lightColor)
        return;
    m_lightColor = color;
    rebuild();
}

void TClearControl::setShadowColor(std::uint32_t color)
{
    if (color == m_shadowColor)
        return;
    m_shadowColor = color;
    rebuild();
}

void TClearControl::setStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    m_stretch = stretch;
    rebuild();
}

void TClearControl::SetOptions(TTransImgOptions options)
{
    if (options == m_options)
        return;
    m_options = options;
    rebuild();
}

void TClearControl::setHotLightDepth(std::uint8_t depth)
{
    if (depth == m_hotLightDepth)
        return;
    m_hotLightDepth = depth;
    rebuild();
}

void TClearControl::setPicture(const QImage &picture)
{
    m_picture = picture.hasAlphaChannel() ? picture : picture.convertToFormat(QImage::Format_RGB32);
    PictureChanged();
    update();
}

void TClearControl::setParentDrag(bool parentDrag)
{
    m_parentDrag = parentDrag;
}

void TClearControl::setFormTrans(bool formTrans)
{
    if (formTrans == m_formTrans)
        return;
    m_formTrans = formTrans;
    if (formTrans)
        UpdateRgn();
    else if (parentWidget())
        window()->clearMask();
}

void TClearControl::setChildGraphicsTrans(bool childGraphicsTrans)
{
    if (childGraphicsTrans == m_childGraphicsTrans)
        return;
    m_childGraphicsTrans = childGraphicsTrans;
    UpdateRgn();
    update();
}

void TClearControl::BeginUpdate()
{
    ++m_updateCount;
}

void TClearControl::EndUpdate()
{
    m_updateCount = std::max(0, m_updateCount - 1);
    if (m_updateCount == 0)
        rebuild();
}

void TClearControl::PictureChanged()
{
    if (m_picture.isNull()) {
        m_transparentColor = kFuchsia;
        rebuild();
        return;
    }
    BeginUpdate();
    AutoSizeArrange();
    if (!m_picture.hasAlphaChannel()) {
        // A bitmap's key is its bottom-left pixel.
        m_pictureKey = clearimg::colorOf(m_picture.pixel(0, m_picture.height() - 1));
        m_transparentColor = m_pictureKey;
    }
    EndUpdate();
}

QImage TClearControl::captionText() const
{
    if (m_caption.isEmpty())
        return {};
    const clearimg::CaptionColors colors = clearimg::captionColors(m_transparentColor);
    const QRect measured = fontMetrics().boundingRect(QRect(0, 0, 0, 0),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_caption);
    QImage text = clearimg::filledImage(measured.size() + QSize(1, 1), clearimg::pixelOf(colors.background));
    QPainter painter(&text);
    painter.setFont(font());
    painter.setPen(QColor(clearimg::pixelOf(colors.foreground)));
    painter.drawText(text.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_caption);
    return text;
}

clearimg::ClearLook TClearControl::look() const
{
    clearimg::ClearLook look;
    look.size = size();
    look.borderStyle = m_borderStyle;
    look.style = m_style;
    look.options = m_options;
    look.transparentColor = m_transparentColor;
    look.color = m_color;
    look.lightColor = m_lightColor;
    look.shadowColor = m_shadowColor;
    look.hotLightDepth = m_hotLightDepth;
    look.stretch = m_stretch;
    look.picture = m_picture;
    look.pictureIsBitmap = !m_picture.hasAlphaChannel();
    look.pictureKey = m_pictureKey;
    look.captionText = captionText();
    look.fontColor = colors::fromQColor(palette().color(QPalette::Active, foregroundRole()));
    look.captionLeft = m_captionLeft;
    look.captionTop = m_captionTop;
    return look;
}

void TClearControl::MakeBtnImageAndRgn()
{
    if (m_updateCount > 0)
        return;
    const clearimg::ClearLook current = look();
    if (!clearimg::canBuild(current))
        return;
    m_images = clearimg::buildClearImages(current);
    m_builtSize = size();
    const QRgb key = clearimg::keyPixelOf(m_transparentColor);
    m_paintNormal = clearimg::keyToAlpha(m_images.normal, key);
    m_paintPressed = clearimg::keyToAlpha(m_images.pressed, key);
    m_paintHot = m_images.hot.isNull() ? QImage() : clearimg::keyToAlpha(m_images.hot, key);
    m_paintDisabled = m_images.disabled.isNull() ? QImage() : clearimg::keyToAlpha(m_images.disabled, key);
    m_inRegionUpdate = true;
    UpdateRgn();
    m_inRegionUpdate = false;
}

void TClearControl::rebuild()
{
    MakeBtnImageAndRgn();
    update();
}

void TClearControl::UpdateRgn()
{
    if (!m_inRegionUpdate) {
        // One queued request does the work of any number of later ones.
        if (!m_regionUpdatePosted) {
            m_regionUpdatePosted = true;
            QCoreApplication::postEvent(this, new QEvent(updateRgnEventType()));
        }
        return;
    }
    if (auto *parent = qobject_cast<TClearControl *>(parentWidget()); parent && parent->isUpdating())
        return;
    WinRgnSet(m_mouseDown && m_pressedView);
}

QRegion TClearControl::childrenRegion() const
{
    QRegion region;
    const QRgb key = clearimg::keyPixelOf(m_transparentColor);
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow() || child->isHidden())
            continue;
        if (!child->mask().isEmpty()) {
            region += child->mask().translated(child->pos());
        } else if (m_childGraphicsTrans) {
            // Only the pixels the child paints belong to the shape.
            QImage pixels = clearimg::filledImage(child->size(), clearimg::pixelOf(m_transparentColor));
            child->render(&pixels, QPoint(), QRegion(), QWidget::DrawChildren);
            region += clearimg::RegionFromImage(pixels, key).translated(child->pos()) & rect();
        } else {
            region += child->geometry();
        }
    }
    return region;
}

void TClearControl::WinRgnSet(bool pressed)
{
    if (!isVisible() || m_updateCount > 0 || m_builtSize.isEmpty())
        return;
    QRegion region = pressed ? m_images.pressedRegion : m_images.normalRegion;
    region += childrenRegion();
    if (region.isEmpty())
        region = kNowhere;
    m_appliedRegion = region;
    setMask(region);
    if (!m_formTrans) {
        if (auto *parent = qobject_cast<TClearControl *>(parentWidget()))
            parent->UpdateRgn();
    } else if (parentWidget()) {
        window()->setMask(region.translated(mapTo(window(), QPoint(0, 0))));
    }
}

void TClearControl::AutoSizeArrange()
{
    if (!m_autoSize || !parentWidget())
        return;
    const QSize text = m_caption.isEmpty()
        ? QSize()
        : fontMetrics().boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft | Qt::AlignTop, m_caption).size();
    const QSize target = clearimg::autoSize(m_picture.size(), text, m_borderStyle);
    if (target != size())
        DoAutoSizeArrange(target.width(), target.height());
}

void TClearControl::DoAutoSizeArrange(int width, int height)
{
    resize(width, height);
}

bool TClearControl::event(QEvent *event)
{
    if (event->type() == updateRgnEventType()) {
        m_regionUpdatePosted = false;
        m_inRegionUpdate = true;
        UpdateRgn();
        m_inRegionUpdate = false;
        return true;
    }
    return QWidget::event(event);
}

void TClearControl::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
        AutoSizeArrange();
        rebuild();
        break;
    case QEvent::PaletteChange:
        // The caption's colour and any system colour may have changed.
        rebuild();
        break;
    case QEvent::EnabledChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

void TClearControl::childEvent(QChildEvent *event)
{
    // A removed child is already out of children() and may be half
    // destroyed, so it is not looked at; the posted update leaves it out.
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved) {
        UpdateRgn();
        update();
    }
    QWidget::childEvent(event);
}

const QImage &TClearControl::imageToPaint() const
{
    if (!isEnabled() && m_options.contains(sioDisableImage) && !m_paintDisabled.isNull())
        return m_paintDisabled;
    if (m_mouseDown && m_pressedView)
        return m_paintPressed;
    if (m_hovered && !m_mouseDown && m_hotTrack && m_options.contains(sioHotTrackImage)
        && !m_paintHot.isNull() && !QWidget::mouseGrabber())
        return m_paintHot;
    return m_paintNormal;
}

void TClearControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, imageToPaint());
}

void TClearControl::resizeEvent(QResizeEvent *event)
{
    if (size() != m_builtSize)
        rebuild();
    QWidget::resizeEvent(event);
}

void TClearControl::showEvent(QShowEvent *event)
{
    UpdateRgn();
    QWidget::showEvent(event);
}

void TClearControl::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    if (!m_mouseDown)
        update();
    QWidget::enterEvent(event);
    emit OnMouseEnter(this);
}

void TClearControl::leaveEvent(QEvent *event)
{
    m_hovered = false;
    if (!m_mouseDown)
        update();
    QWidget::leaveEvent(event);
    emit OnMouseLeave(this);
}

bool TClearControl::isShapePixel(QPoint pos) const
{
    const QImage &image = m_pressedView ? m_images.pressed : m_images.normal;
    if (!image.rect().contains(pos))
        return false;
    return image.pixel(pos) != clearimg::keyPixelOf(m_transparentColor);
}

bool TClearControl::isUnderPointer(const QPointF &globalPos) const
{
    if (!parentWidget())
        return false;
    QWidget *top = window();
    return top->childAt(top->mapFromGlobal(globalPos.toPoint())) == this;
}

void TClearControl::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (m_parentDrag && parentWidget()) {
        if (event->button() == Qt::LeftButton) {
            m_parentDragging = true;
            m_dragStart = event->position().toPoint();
        }
        return;
    }
    if (event->button() == Qt::LeftButton && m_style != sbsImage) {
        m_mouseDown = true;
        m_pressedView = true;
        m_lastPointer = event->position().toPoint();
        UpdateRgn();
        update();
    }
}

void TClearControl::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_parentDragging) {
        if (pos != m_dragStart)
            parentWidget()->move(parentWidget()->pos() + pos - m_dragStart);
        return;
    }
    if (!m_mouseDown || pos == m_lastPointer)
        return;
    m_lastPointer = pos;
    const bool inside = rect().contains(pos) && isShapePixel(pos);
    if (inside != m_pressedView) {
        m_pressedView = inside;
        UpdateRgn();
        update();
    }
}

void TClearControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_parentDragging) {
        m_parentDragging = false;
        update();
        return;
    }
    if (!m_mouseDown)
        return;
    m_mouseDown = false;
    if (m_style != sbsImage)
        UpdateRgn();
    // A release over a cut-out part, or outside, is no click.
    if (rect().contains(event->position().toPoint()) && isUnderPointer(event->globalPosition()))
        emit clicked();
    update();
}
