#pragma once
// The application's hint component: one per form, it holds the hints' look
// (style, font, brush, pen, shadow) and timings, and shows every control's
// hint text (its toolTip()) in its own THintEx window instead of the
// platform's tool tip.
//
// It watches the whole application for tool-tip events, which also reach
// disabled controls, and a style hook gives the application its wake-up
// delay (HintPause) and the hand-over window in which the next hint follows
// at once (HintShortPause). A hint hides after HintHidePause, on leaving the
// control, on a press or a key. The component owns its window; destroying
// it stops all of this (its event filter dies with it).
#include "skin/HintGeometry.h"

#include <QBrush>
#include <QFont>
#include <QObject>
#include <QPen>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;
class QWidget;
class THintEx;

class TAppHint : public QObject
{
    Q_OBJECT

public:
    // What a show-hint handler may change before the hint is shown.
    struct THintInfo
    {
        QWidget *HintControl = nullptr;
        QPoint HintPos; // screen position of the window's top-left corner
    };
    using THintPaintEvent = std::function<void(const QString &HintStr, QPainter *Canvas, int Width, int Height)>;
    using TShowHintEvent = std::function<void(QString &HintStr, bool &CanShow, THintInfo &HintInfo)>;

    explicit TAppHint(QObject *parent = nullptr);
    ~TAppHint() override;

    // Gives a control its hint text.
    void setHint(QWidget *control, const QString &hint);

    std::uint32_t BGColor() const { return m_bgColor; }
    void setBGColor(std::uint32_t color) { m_bgColor = color; }
    const QBrush &Brush() const { return m_brush; }
    void setBrush(const QBrush &brush) { m_brush = brush; }
    const QFont &Font() const { return m_font; }
    void setFont(const QFont &font);
    std::uint32_t FontColor() const { return m_fontColor; }
    void setFontColor(std::uint32_t color) { m_fontColor = color; }
    THintStyle HintStyle() const { return m_hintStyle; }
    void setHintStyle(THintStyle style);
    const QPen &Pen() const { return m_pen; }
    void setPen(const QPen &pen) { m_pen = pen; }
    std::uint32_t ShadowColor() const { return m_shadowColor; }
    void setShadowColor(std::uint32_t color) { m_shadowColor = color; }
    bool ShadowVisible() const { return m_shadowVisible; }
    void setShadowVisible(bool visible) { m_shadowVisible = visible; }
    int HintPause() const { return m_hintPause; }
    void setHintPause(int ms) { m_hintPause = ms; }
    int HintHidePause() const { return m_hintHidePause; }
    void setHintHidePause(int ms) { m_hintHidePause = ms; }
    int HintShortPause() const { return m_hintShortPause; }
    void setHintShortPause(int ms) { m_hintShortPause = ms; }

    THintPaintEvent OnPaint;
    TShowHintEvent OnShowHint;

    // Shows a control's hint at a pointer position now, as a rest of the
    // pointer would; false when there is nothing to show.
    bool showHintFor(QWidget *control, QPoint globalPointer);
    void hideHint();
    // The hint window, while one exists.
    THintEx *hintWindow() const { return m_window.get(); }

    // The component the hint windows read; none once it is destroyed.
    static TAppHint *current();

signals:
    void OnHint(QObject *sender);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowHint(QString &hintStr, bool &canShow, THintInfo &hintInfo);

    std::uint32_t m_bgColor = 0x000000;
    QBrush m_brush;
    QFont m_font;
    std::uint32_t m_fontColor = 0x00FF00;
    THintStyle m_hintStyle = hsFukidashi;
    QPen m_pen;
    std::uint32_t m_shadowColor = 0xFF0000;
    bool m_shadowVisible = true;
    int m_hintPause = 500;
    int m_hintHidePause = 2500;
    int m_hintShortPause = 50;
    std::unique_ptr<THintEx> m_window;
    QPointer<QWidget> m_hintControl;
    QTimer m_hideTimer;
    // The next control's hint, waiting HintShortPause while one is shown.
    QTimer m_shortTimer;
    QPointer<QWidget> m_nextControl;
    QPoint m_nextPointer;
};
