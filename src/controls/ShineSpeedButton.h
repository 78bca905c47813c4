#pragma once
// A speed button that draws itself: a flat or two-colour gradient face, one
// of three bevel frames, a glyph whose hot and disabled looks are computed
// from the one glyph image, and a caption with an optional one-pixel shadow
// and highlight.
//
// It takes no focus. It shows a hot look while the pointer is over it (a
// 200 ms timer catches a pointer that left unnoticed) and, with a non-zero
// GroupIndex, latches down: buttons of one parent with the same index form
// an exclusive group, and with AllowAllUp a down button may be released.
// The caption's accelerator (the letter after "&") clicks it with Alt.
//
// The button owns its two colour sets, its two caption fonts, its glyph and
// its timer. The pixel work is done by the functions in ShineButtonPixels.h;
// the three drawing steps below paint what they return.
#include "controls/ShineBtnColors.h"
#include "controls/ShineButtonPixels.h"
#include "platform/SystemColors.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAction;
class QPainter;
class QTimer;

// A caption font and its colour.
struct TShineFont {
    QFont font;
    colors::TColor color = colors::clBtnText;
    bool operator==(const TShineFont &) const = default;
};

class TShineSpeedButton : public QWidget
{
    Q_OBJECT

public:
    explicit TShineSpeedButton(QWidget *parent = nullptr);
    ~TShineSpeedButton() override;

    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return m_down; }
    void SetDown(bool value);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    bool ClickDownHook() const { return m_clickDownHook; }
    void SetClickDownHook(bool value);
    bool AccelCharDown() const { return m_accelCharDown; }
    void SetAccelCharDown(bool value);

    TFrameType FrameType() const { return m_frameType; }
    void SetFrameType(TFrameType value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool ActiveFrame() const { return m_activeFrame; }
    void SetActiveFrame(bool value);
    bool UpFrame() const { return m_upFrame; }
    void SetUpFrame(bool value);
    bool DownFrame() const { return m_downFrame; }
    void SetDownFrame(bool value);

    TActiveImageType ActiveImage() const { return m_activeImage; }
    void SetActiveImage(TActiveImageType value);
    TDisabledImageType DisabledImage() const { return m_disabledImage; }
    void SetDisabledImage(TDisabledImageType value);
    colors::TColor DisabledHighlight() const { return m_disabledHighlight; }
    void SetDisabledHighlight(colors::TColor value);
    colors::TColor DisabledShadow() const { return m_disabledShadow; }
    void SetDisabledShadow(colors::TColor value);
    colors::TColor ShineColor() const { return m_shineColor; }
    void SetShineColor(colors::TColor value);

    // The owned colour sets; changing one of their values repaints.
    TShineBtnColors &Colors() { return m_colors; }
    TShineBtnColors &PressedColors() { return m_pressedColors; }
    void SetColors(const TShineBtnColors &value) { m_colors.Assign(value); }
    void SetPressedColors(const TShineBtnColors &value) { m_pressedColors.Assign(value); }

    // Caption fonts: Font in the looks at rest, ActiveFont in the hot ones.
    // They are the button's own, apart from the widget's font.
    const TShineFont &Font() const { return m_font; }
    void SetFont(const TShineFont &value);
    const TShineFont &ActiveFont() const { return m_activeFont; }
    void SetActiveFont(const TShineFont &value);
    // clNone: not drawn.
    colors::TColor FontHighlight() const { return m_fontHighlight; }
    void SetFontHighlight(colors::TColor value);
    colors::TColor FontShadow() const { return m_fontShadow; }
    void SetFontShadow(colors::TColor value);

    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return m_margin; }
    void SetMargin(int value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);

    // The glyph; its bottom-left pixel's colour is its background. A null
    // image empties it.
    const QImage &Glyph() const { return m_glyph; }
    void SetGlyph(const QImage &value);

    // "&" marks the accelerator letter; "&&" is one ampersand.
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &value);

    TShineButtonState State() const { return m_look; }

    // An action the button runs when clicked; its text, tooltip, enabled
    // state and visibility show on the button. Not owned.
    QAction *Action() const { return m_action; }
    void SetAction(QAction *action);

    // The drawing steps, in painting order.
    void BackDraw(QPainter &canvas);
    void ImageDraw(QPainter &canvas);
    void FrameDraw(QPainter &canvas);

    // The glyph of the current look (a null image when there is no glyph).
    shinebtn::StateGlyph CreateStateGlyph() const;
    // Glyph position and caption rectangle for the caption in `font`.
    shinebtn::DrawPosition CalcDrawPosition(const QFont &font) const;

    // Stores the group index and tells the parent's buttons of that group
    // whether this one is down and whether the group allows all up.
    void GroupUpdateStatus(int groupIndex);
    // Brings the hot part of the look in line with where the pointer is.
    void UpdateTracking();

    // Wired to the glyph, to the fonts and colour sets, and to the hot timer.
    void GlyphOnChange();
    void FontsAndColorsOnChange();
    void ActiveButtonTimerOnTimer();

    QSize sizeHint() const override { return QSize(25, 25); }

signals:
    void OnClick(QObject *sender);
    void OnDblClick(QObject *sender);
    void OnMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
        Qt::MouseButtons buttons, int x, int y);
    void OnMouseMove(QObject *sender, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
        int x, int y);
    void OnMouseUp(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
        Qt::MouseButtons buttons, int x, int y);
    // Raised when the pointer really crosses the button's edge.
    void OnMouseEnter(QObject *sender, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
        int x, int y);
    void OnMouseLeave(QObject *sender, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
        int x, int y);

protected:
    virtual void Click();
    virtual void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
        Qt::MouseButtons buttons, int x, int y);
    virtual void MouseMove(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int x, int y);
    virtual void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
        Qt::MouseButtons buttons, int x, int y);
    virtual void MouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int x, int y);
    virtual void MouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, int x, int y);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The group notification: `sender` announced its state to `groupIndex`.
    void ButtonPressed(int groupIndex, TShineSpeedButton *sender);
    void paintAll(QPainter &canvas);
    void actionChanged();
    QRgb rgb(colors::TColor color) const;
    bool insideClient(int x, int y) const;
    template<typename T>
    void setAndInvalidate(T &field, const T &value);

    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    bool m_clickDownHook = false;
    bool m_accelCharDown = false;
    TFrameType m_frameType = ftNormalFrame;
    bool m_transparent = false;
    bool m_activeFrame = true;
    bool m_upFrame = true;
    bool m_downFrame = true;
    TActiveImageType m_activeImage = aiFrameLight;
    TDisabledImageType m_disabledImage = diDefault;
    colors::TColor m_disabledHighlight = colors::clBtnHighlight;
    colors::TColor m_disabledShadow = colors::clBtnShadow;
    TShineBtnColors m_colors {colors::clBtnFace};
    TShineBtnColors m_pressedColors {colors::clBtnHighlight};
    colors::TColor m_shineColor = 0x00FFFF; // yellow
    TShineFont m_font;
    TShineFont m_activeFont;
    colors::TColor m_fontHighlight = colors::clNone;
    colors::TColor m_fontShadow = colors::clNone;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    QImage m_glyph;
    QString m_caption;
    int m_shortcutId = 0;
    QPointer<QAction> m_action;
    QMetaObject::Connection m_actionChanged;

    TShineButtonState m_look = sbUp;
    // The look follows this flag; it may be set against the truth for a
    // moment so that UpdateTracking can correct the look.
    bool m_mouseInside = false;
    // Where the pointer was last reported to OnMouseEnter/OnMouseLeave.
    bool m_reportedInside = false;
    // The left button went down on the button and is still held.
    bool m_pressing = false;
    QTimer *m_hotTimer;
};
