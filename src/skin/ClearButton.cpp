#include "skin/ClearButton.h"

#include "platform/Colors.h"

TClearButton::TClearButton(QWidget *parent)
    : TClearControl(parent)
{
    setFocusPolicy(Qt::NoFocus);
    BeginUpdate();
    SetOptions({sioDisableImage, sioHotTrackImage, sioTransAtDesigning, sioBorderAndShadow});
    QFont buttonFont = font();
    buttonFont.setPointSize(20);
    buttonFont.setBold(true);
    setFont(buttonFont);
    QPalette pal = palette();
    pal.setColor(foregroundRole(), colors::fromBgr(colors::clGreen));
    setPalette(pal);
    EndUpdate();
}
