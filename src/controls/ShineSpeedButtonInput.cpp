// The gradient speed button's pointer, key and enabled-state handling: the
// hot look, pressing and releasing, clicks, and the accelerator.
#include "controls/ShineSpeedButton.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QTimer>

namespace {

Qt::KeyboardModifiers currentModifiers() { return QGuiApplication::queryKeyboardModifiers(); }
Qt::MouseButtons currentButtons() { return QGuiApplication::mouseButtons(); }

} // namespace

bool TShineSpeedButton::insideClient(int x, int y) const
{
    return x >= 0 && x < width() && y >= 0 && y < height();
}

void TShineSpeedButton::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
    Qt::MouseButtons buttons, int x, int y)
{
    emit OnMouseDown(this, button, modifiers, buttons, x, y);
    if (button != Qt::LeftButton || !isEnabled())
        return;
    if (m_look != sbDownHot) {
        m_look = sbDownHot;
        update();
    }
    m_pressing = true;
}

void TShineSpeedButton::MouseMove(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
    int x, int y)
{
    emit OnMouseMove(this, modifiers, buttons, x, y);
    if (m_pressing) {
        const TShineButtonState look = insideClient(x, y) ? sbDownHot : (m_down ? sbDown : sbUp);
        if (look != m_look) {
            m_look = look;
            update();
        }
    } else if (!m_mouseInside) {
        UpdateTracking();
    }
}

void TShineSpeedButton::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
    Qt::MouseButtons buttons, int x, int y)
{
    emit OnMouseUp(this, button, modifiers, buttons, x, y);
    if (!m_pressing || button != Qt::LeftButton)
        return;
    const bool inside = insideClient(x, y);
    if (m_groupIndex == 0) {
        m_look = sbUp;
        m_mouseInside = false;
        m_down = false;
        update();
    } else if (inside) {
        SetDown(!m_down);
        update();
    } else {
        m_look = m_down ? sbDownHot : sbHot;
        update();
    }
    m_pressing = false;
    if (inside) {
        const QPointer<TShineSpeedButton> alive(this);
        Click();
        if (!alive)
            return;
    }
    UpdateTracking();
}

void TShineSpeedButton::Click()
{
    const QPointer<TShineSpeedButton> alive(this);
    const auto run = [this, &alive] {
        emit OnClick(this);
        if (alive && m_action)
            m_action->trigger();
    };
    if (!m_clickDownHook) {
        run();
        return;
    }
    const TShineButtonState saved = m_look;
    m_look = sbDownHot;
    repaint();
    run();
    if (!alive)
        return;
    m_look = saved;
    repaint();
}

void TShineSpeedButton::MouseEnter(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
    int x, int y)
{
    if (!m_reportedInside) {
        m_reportedInside = true;
        emit OnMouseEnter(this, modifiers, buttons, x, y);
    }
    QWidget *grabber = QWidget::mouseGrabber();
    if (m_mouseInside || !isEnabled() || (grabber && grabber != this))
        return;
    m_mouseInside = true;
    if (m_look == sbUp)
        m_look = sbHot;
    else if (m_look == sbDown)
        m_look = sbDownHot;
    update();
    m_hotTimer->start();
}

void TShineSpeedButton::MouseLeave(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
    int x, int y)
{
    if (m_reportedInside) {
        m_reportedInside = false;
        emit OnMouseLeave(this, modifiers, buttons, x, y);
    }
    if (!m_mouseInside || !isEnabled() || m_pressing)
        return;
    m_hotTimer->stop();
    m_mouseInside = false;
    if (m_look == sbHot)
        m_look = sbUp;
    else if (m_look == sbDownHot)
        m_look = sbDown;
    update();
}

void TShineSpeedButton::ActiveButtonTimerOnTimer()
{
    if (!m_mouseInside || !isEnabled() || m_pressing) {
        m_hotTimer->stop();
        return;
    }
    const QPoint pos = mapFromGlobal(QCursor::pos());
    if (!rect().contains(pos))
        MouseLeave(currentModifiers(), currentButtons(), pos.x(), pos.y());
}

void TShineSpeedButton::UpdateTracking()
{
    if (!isEnabled())
        return;
    const QPoint global = QCursor::pos();
    const bool over = QApplication::widgetAt(global) == this;
    const QPoint pos = mapFromGlobal(global);
    // Set against the truth, so that the handler below acts and corrects it.
    m_mouseInside = !over;
    if (m_mouseInside)
        MouseLeave(currentModifiers(), currentButtons(), pos.x(), pos.y());
    else
        MouseEnter(currentModifiers(), currentButtons(), pos.x(), pos.y());
}

bool TShineSpeedButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            QWidget *parent = parentWidget();
            if (isEnabled() && isVisible() && parent && parent->isVisible()) {
                const QPointer<TShineSpeedButton> alive(this);
                if (m_accelCharDown)
                    SetDown(!m_down);
                Click();
                if (alive)
                    event->accept();
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void TShineSpeedButton::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(event->button(), event->modifiers(), event->buttons(), p.x(), p.y());
}

void TShineSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(event->modifiers(), event->buttons(), p.x(), p.y());
}

void TShineSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseUp(event->button(), event->modifiers(), event->buttons(), p.x(), p.y());
}

void TShineSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click presses the button as any press.
    const QPointer<TShineSpeedButton> alive(this);
    mousePressEvent(event);
    // A button that is up does not report double clicks.
    if (alive && event->button() == Qt::LeftButton && m_down)
        emit OnDblClick(this);
}

void TShineSpeedButton::enterEvent(QEnterEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseEnter(currentModifiers(), currentButtons(), p.x(), p.y());
}

void TShineSpeedButton::leaveEvent(QEvent *)
{
    const QPoint p = mapFromGlobal(QCursor::pos());
    MouseLeave(currentModifiers(), currentButtons(), p.x(), p.y());
}

void TShineSpeedButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        // Released without telling the group.
        m_down = false;
        m_look = isEnabled() ? sbUp : sbDisabled;
        if (!isEnabled())
            m_pressing = false;
        UpdateTracking();
        update();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}
