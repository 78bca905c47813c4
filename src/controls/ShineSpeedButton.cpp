#include "controls/ShineSpeedButton.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeySequence>
#include <QPainter>
#include <QTimer>

namespace {

constexpr int kHotTimerInterval = 200;
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic;

} // namespace

TShineSpeedButton::TShineSpeedButton(QWidget *parent)
    : QWidget(parent)
    , m_hotTimer(new QTimer(this))
{
    resize(25, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font.font = font();
    m_font.color = colors::clBtnText;
    m_activeFont.font = font();
    m_activeFont.color = colors::clHighlight;
    m_colors.OnChange = [this](TShineBtnColors &) { FontsAndColorsOnChange(); };
    m_pressedColors.OnChange = [this](TShineBtnColors &) { FontsAndColorsOnChange(); };
    m_hotTimer->setInterval(kHotTimerInterval);
    connect(m_hotTimer, &QTimer::timeout, this, &TShineSpeedButton::ActiveButtonTimerOnTimer);
}

TShineSpeedButton::~TShineSpeedButton()
{
    // The sets outlive nothing that could still call back into the button.
    m_colors.OnChange = nullptr;
    m_pressedColors.OnChange = nullptr;
}

template<typename T>
void TShineSpeedButton::setAndInvalidate(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TShineSpeedButton::SetClickDownHook(bool value) { setAndInvalidate(m_clickDownHook, value); }
void TShineSpeedButton::SetAccelCharDown(bool value) { setAndInvalidate(m_accelCharDown, value); }
void TShineSpeedButton::SetFrameType(TFrameType value) { setAndInvalidate(m_frameType, value); }
void TShineSpeedButton::SetActiveFrame(bool value) { setAndInvalidate(m_activeFrame, value); }
void TShineSpeedButton::SetUpFrame(bool value) { setAndInvalidate(m_upFrame, value); }
void TShineSpeedButton::SetDownFrame(bool value) { setAndInvalidate(m_downFrame, value); }
void TShineSpeedButton::SetActiveImage(TActiveImageType value) { setAndInvalidate(m_activeImage, value); }
void TShineSpeedButton::SetDisabledImage(TDisabledImageType value) { setAndInvalidate(m_disabledImage, value); }
void TShineSpeedButton::SetDisabledHighlight(colors::TColor value) { setAndInvalidate(m_disabledHighlight, value); }
void TShineSpeedButton::SetDisabledShadow(colors::TColor value) { setAndInvalidate(m_disabledShadow, value); }
void TShineSpeedButton::SetShineColor(colors::TColor value) { setAndInvalidate(m_shineColor, value); }
void TShineSpeedButton::SetLayout(TButtonLayout value) { setAndInvalidate(m_layout, value); }
void TShineSpeedButton::SetMargin(int value) { setAndInvalidate(m_margin, value); }
void TShineSpeedButton::SetSpacing(int value) { setAndInvalidate(m_spacing, value); }

void TShineSpeedButton::SetTransparent(bool value)
{
    if (value == m_transparent)
        return;
    m_transparent = value;
    // A transparent button paints no face, so what lies below must show.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    update();
}

void TShineSpeedButton::SetFont(const TShineFont &value)
{
    m_font = value;
    update();
}

void TShineSpeedButton::SetActiveFont(const TShineFont &value)
{
    m_activeFont = value;
    update();
}

void TShineSpeedButton::SetFontHighlight(colors::TColor value)
{
    m_fontHighlight = value;
    update();
}

void TShineSpeedButton::SetFontShadow(colors::TColor value)
{
    m_fontShadow = value;
    update();
}

void TShineSpeedButton::SetGlyph(const QImage &value)
{
    m_glyph = value;
    GlyphOnChange();
}

void TShineSpeedButton::GlyphOnChange()
{
    // Every glyph is held as 32 bits per pixel, as the pixel work expects.
    if (!m_glyph.isNull() && m_glyph.format() != QImage::Format_RGB32)
        m_glyph = m_glyph.convertToFormat(QImage::Format_RGB32);
    update();
}

void TShineSpeedButton::FontsAndColorsOnChange()
{
    update();
}

void TShineSpeedButton::SetCaption(const QString &value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    m_shortcutId = 0;
    const QKeySequence accelerator = QKeySequence::mnemonic(value);
    if (!accelerator.isEmpty())
        m_shortcutId = grabShortcut(accelerator);
    update();
}

void TShineSpeedButton::SetAction(QAction *action)
{
    if (action == m_action)
        return;
    disconnect(m_actionChanged);
    m_action = action;
    if (action) {
        m_actionChanged = connect(action, &QAction::changed, this, &TShineSpeedButton::actionChanged);
        actionChanged();
    }
}

void TShineSpeedButton::actionChanged()
{
    SetCaption(m_action->text());
    setToolTip(m_action->toolTip());
    setEnabled(m_action->isEnabled());
    // A button without a parent would become a window of its own.
    if (parentWidget())
        setVisible(m_action->isVisible());
}

// Group latching -----------------------------------------------------------

void TShineSpeedButton::SetDown(bool value)
{
    if (value == m_down || m_groupIndex == 0)
        return;
    // Without AllowAllUp a down button is released only by another one.
    if (!value && !m_allowAllUp)
        return;
    m_down = value;
    GroupUpdateStatus(m_groupIndex);
    m_look = value ? sbDown : sbUp;
    update();
}

void TShineSpeedButton::SetAllowAllUp(bool value)
{
    if (value == m_allowAllUp)
        return;
    m_allowAllUp = value;
    GroupUpdateStatus(m_groupIndex);
}

void TShineSpeedButton::SetGroupIndex(int value)
{
    if (value != m_groupIndex)
        GroupUpdateStatus(value);
}

void TShineSpeedButton::GroupUpdateStatus(int groupIndex)
{
    m_groupIndex = groupIndex;
    QWidget *parent = parentWidget();
    if (groupIndex == 0 || !parent)
        return;
    const QList<TShineSpeedButton *> siblings
        = parent->findChildren<TShineSpeedButton *>(Qt::FindDirectChildrenOnly);
    for (TShineSpeedButton *button : siblings)
        button->ButtonPressed(groupIndex, this);
}

void TShineSpeedButton::ButtonPressed(int groupIndex, TShineSpeedButton *sender)
{
    if (groupIndex != m_groupIndex || !sender || sender == this)
        return;
    if (sender->m_down && m_down) {
        m_down = false;
        m_look = sbUp;
        update();
    }
    m_allowAllUp = sender->m_allowAllUp;
}

// Drawing ------------------------------------------------------------------

QRgb TShineSpeedButton::rgb(colors::TColor color) const
{
    return colors::toRgb(color, palette());
}

void TShineSpeedButton::paintEvent(QPaintEvent *)
{
    if (!isEnabled()) {
        m_look = sbDisabled;
        m_pressing = false;
    }
    if (m_transparent) {
        QPainter canvas(this);
        paintAll(canvas);
        return;
    }
    // Drawn off screen and copied in one step, so the face never flickers.
    const qreal ratio = devicePixelRatioF();
    QImage buffer(size() * ratio, QImage::Format_RGB32);
    buffer.setDevicePixelRatio(ratio);
    {
        QPainter canvas(&buffer);
        paintAll(canvas);
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void TShineSpeedButton::paintAll(QPainter &canvas)
{
    BackDraw(canvas);
    ImageDraw(canvas);
    FrameDraw(canvas);
}

void TShineSpeedButton::BackDraw(QPainter &canvas)
{
    if (m_transparent)
        return;
    const TShineBtnColors &set = shinebtn::isDownLook(m_look) ? m_pressedColors : m_colors;
    if (!set.Gradation()) {
        canvas.fillRect(rect(), QColor(rgb(set.Color())));
        return;
    }
    const QImage strip = shinebtn::gradientStrip(rgb(set.Color()), rgb(set.GradColor()),
        set.GradVertical());
    // A plain stretch: entry 0 on the first edge, entry 255 on the last.
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.drawImage(QRectF(rect()), strip);
}

void TShineSpeedButton::FrameDraw(QPainter &canvas)
{
    if (!shinebtn::bevelShown(m_look, m_activeFrame, m_upFrame, m_downFrame))
        return;
    const bool down = shinebtn::isDownLook(m_look);
    const TShineBtnColors &set = down ? m_pressedColors : m_colors;
    const shinebtn::BevelColors bevel {rgb(set.Highlight()), rgb(set.Shadow()), rgb(set.DarkShadow())};
    // The enclosed outline keeps the up set's colour in every look.
    const QRgb outline = rgb(m_colors.DarkShadow());
    for (const shinebtn::BevelLine &line : shinebtn::bevelLines(m_frameType, down, size(), bevel, outline)) {
        const QRect span = shinebtn::lineSpan(line);
        if (!span.isEmpty())
            canvas.fillRect(span, QColor(line.color));
    }
}

shinebtn::StateGlyph TShineSpeedButton::CreateStateGlyph() const
{
    shinebtn::GlyphLook how;
    how.active = m_activeImage;
    how.disabled = m_disabledImage;
    how.shine = rgb(m_shineColor);
    how.face = rgb(m_colors.Color());
    return shinebtn::stateGlyph(m_glyph, m_look, how);
}

shinebtn::DrawPosition TShineSpeedButton::CalcDrawPosition(const QFont &font) const
{
    shinebtn::LayoutInput in;
    in.client = size();
    in.glyph = m_glyph.size();
    in.hasCaption = !m_caption.isEmpty();
    if (in.hasCaption)
        in.text = QFontMetrics(font).size(Qt::TextShowMnemonic, m_caption);
    in.layout = m_layout;
    in.margin = m_margin;
    in.spacing = m_spacing;
    return shinebtn::calcDrawPosition(in);
}

void TShineSpeedButton::ImageDraw(QPainter &canvas)
{
    const TShineFont &font = shinebtn::isHotLook(m_look) ? m_activeFont : m_font;
    canvas.setFont(font.font);
    const shinebtn::StateGlyph glyph = CreateStateGlyph();
    const shinebtn::DrawPosition at = CalcDrawPosition(font.font);
    const QPoint pressed = shinebtn::isDownLook(m_look) ? QPoint(1, 1) : QPoint(0, 0);

    if (!glyph.image.isNull()) {
        const QPoint pos = at.glyph + pressed;
        if (glyph.mask) {
            // Embossed: the light copy one pixel down-right, the dark one on top.
            canvas.drawImage(pos + QPoint(1, 1), shinebtn::maskIn(glyph.image, rgb(m_disabledHighlight)));
            canvas.drawImage(pos, shinebtn::maskIn(glyph.image, rgb(m_disabledShadow)));
        } else {
            canvas.drawImage(pos, shinebtn::keyedOut(glyph.image, glyph.transparent));
        }
    }

    if (m_caption.isEmpty())
        return;
    const QRect text = at.caption.translated(pressed);
    const auto pass = [&](colors::TColor color, QPoint shift) {
        canvas.setPen(QColor(rgb(color)));
        canvas.drawText(text.translated(shift), kTextFlags, m_caption);
    };
    if (m_look == sbDisabled) {
        pass(m_disabledHighlight, QPoint(1, 1));
        pass(m_disabledShadow, QPoint(0, 0));
        return;
    }
    if (m_fontShadow != colors::clNone)
        pass(m_fontShadow, QPoint(1, 1));
    if (m_fontHighlight != colors::clNone)
        pass(m_fontHighlight, QPoint(-1, -1));
    pass(font.color, QPoint(0, 0));
}
