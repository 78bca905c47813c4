#pragma once
// Small command button: a filled rectangle with an optional border and a
// centred caption. Under the pointer its face and border fade step by step
// towards DestColor and BorderDestColor on a precise timer, and its caption
// switches to CaptionOverColor at once; leaving fades back or snaps back.
//
// Colours are plain 0x00BBGGRR values. The caption is the button's text and
// its colour the palette's ButtonText. Owns its fade timer.
#include <QAbstractButton>
#include <QColor>
#include <QTimer>

#include <cstdint>
#include <optional>

class TGlintFadeButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit TGlintFadeButton(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption);
    std::uint32_t Color() const { return m_color; }
    void setColor(std::uint32_t color);
    std::uint32_t DestColor() const { return m_destColor; }
    void setDestColor(std::uint32_t color) { m_destColor = color; }
    std::uint32_t CaptionOverColor() const { return m_captionOverColor; }
    void setCaptionOverColor(std::uint32_t color) { m_captionOverColor = color; }
    bool ShowBorder() const { return m_showBorder; }
    void setShowBorder(bool showBorder);
    std::uint32_t BorderColor() const { return m_borderColor; }
    void setBorderColor(std::uint32_t color);
    std::uint32_t BorderDestColor() const { return m_borderDestColor; }
    void setBorderDestColor(std::uint32_t color) { m_borderDestColor = color; }
    int BorderHeight() const { return m_borderHeight; }
    void setBorderHeight(int height);
    bool FadeOnOver() const { return m_fadeOnOver; }
    void setFadeOnOver(bool fade) { m_fadeOnOver = fade; }
    bool FadeOnLeave() const { return m_fadeOnLeave; }
    void setFadeOnLeave(bool fade) { m_fadeOnLeave = fade; }
    // Channel change per tick; a change reaches the next enter or leave.
    int Step() const { return m_step; }
    void setStep(int step) { m_step = step; }
    // Milliseconds per tick, also for a fade already running.
    int Speed() const { return m_speed; }
    void setSpeed(int speed);

    // What is shown now.
    std::uint32_t currentColor() const { return m_currentColor; }
    std::uint32_t currentBorderColor() const { return m_currentBorderColor; }
    std::uint32_t fontColor() const;
    bool isFading() const { return m_timer->isActive(); }

    // One tick of the fade.
    void Animate();

signals:
    void onMouseLeave(QObject *sender);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void pointerOver();
    void setFontColor(std::uint32_t color);

    bool m_showBorder = true;
    bool m_fadeOnOver = true;
    std::uint32_t m_destColor;
    std::uint32_t m_captionOverColor;
    std::uint32_t m_borderColor;
    std::uint32_t m_borderDestColor;
    std::uint32_t m_currentBorderColor;
    std::uint32_t m_currentColor;
    QTimer *m_timer;
    // +Step while fading in, -Step while fading out.
    int m_delta = 0;
    int m_step = 2;
    std::uint32_t m_color;
    // The caption colour before the hover colour replaced it.
    std::optional<std::uint32_t> m_savedCaptionColor;
    int m_borderHeight = 1;
    bool m_fadeOnLeave = true;
    int m_speed = 10;
};
