#include "skin/AppHint.h"

#include "skin/HintEx.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>

namespace {

TAppHint *g_current = nullptr;

// Gives the application the current hint component's timings: the rest
// before a first hint, and how long after one the next follows at once.
class HintTimingStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
        QStyleHintReturn *returnData) const override
    {
        if (TAppHint *component = TAppHint::current()) {
            if (hint == SH_ToolTip_WakeUpDelay)
                return component->HintPause();
            if (hint == SH_ToolTip_FallAsleepDelay)
                return component->HintHidePause();
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void installTimingStyle()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    if (dynamic_cast<HintTimingStyle *>(QApplication::style()))
        return;
    QApplication::setStyle(new HintTimingStyle(QStyleFactory::create(QApplication::style()->name())));
}

} // namespace

TAppHint *TAppHint::current()
{
    return g_current;
}

TAppHint::TAppHint(QObject *parent)
    : QObject(parent)
    , m_brush(QColor(0, 0, 0x80))
{
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &TAppHint::hideHint);
    m_shortTimer.setSingleShot(true);
    connect(&m_shortTimer, &QTimer::timeout, this, [this] {
        if (m_nextControl)
            showHintFor(m_nextControl, m_nextPointer);
    });
    // A second component simply takes over.
    g_current = this;
    installTimingStyle();
    QCoreApplication::instance()->installEventFilter(this);
}

TAppHint::~TAppHint()
{
    if (g_current == this)
        g_current = nullptr;
}

void TAppHint::setHint(QWidget *control, const QString &hint)
{
    control->setToolTip(hint);
}

void TAppHint::setFont(const QFont &font)
{
    m_font = font;
    // The next hint is measured with the new font.
    hideHint();
}

void TAppHint::setHintStyle(THintStyle style)
{
    if (style == m_hintStyle)
        return;
    m_hintStyle = style;
    hideHint();
}

void TAppHint::ShowHint(QString &hintStr, bool &canShow, THintInfo &hintInfo)
{
    hintInfo.HintPos.ry() -= hintgeo::kLift;
    if (OnShowHint)
        OnShowHint(hintStr, canShow, hintInfo);
}

bool TAppHint::showHintFor(QWidget *control, QPoint globalPointer)
{
    QString text = control ? control->toolTip() : QString();
    if (text.isEmpty())
        return false;
    emit OnHint(control);
    // Below the pointer, clear of the cursor, then lifted.
    constexpr int kCursorMargin = 20;
    THintInfo info {control, globalPointer + QPoint(0, kCursorMargin)};
    bool canShow = true;
    ShowHint(text, canShow, info);
    if (!canShow || text.isEmpty()) {
        hideHint();
        return false;
    }
    if (!m_window)
        m_window = std::make_unique<THintEx>();
    m_hintControl = control;
    m_window->ActivateHint(info.HintPos, text);
    m_hideTimer.start(m_hintHidePause);
    return true;
}

void TAppHint::hideHint()
{
    m_hideTimer.stop();
    m_shortTimer.stop();
    m_hintControl = nullptr;
    if (m_window)
        m_window->hide();
}

bool TAppHint::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            break;
        // The nearest control with a hint, as the platform's tool tip would find it.
        QWidget *control = widget;
        while (control && control->toolTip().isEmpty() && !control->isWindow())
            control = control->parentWidget();
        if (control && !control->toolTip().isEmpty()) {
            const QPoint pointer = static_cast<QHelpEvent *>(event)->globalPos();
            const bool shown = m_window && m_window->isVisible();
            if (shown && control != m_hintControl && m_hintShortPause > 0) {
                // Another control's hint follows after the short pause.
                m_nextControl = control;
                m_nextPointer = pointer;
                m_shortTimer.start(m_hintShortPause);
            } else if (!shown || control != m_hintControl) {
                showHintFor(control, pointer);
            }
            event->accept();
            return true;
        }
        // Nothing of ours to show: the control may still have tips of its own.
        hideHint();
        break;
    }
    case QEvent::Leave:
        if (watched == m_hintControl)
            hideHint();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (m_window && m_window->isVisible())
            hideHint();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
