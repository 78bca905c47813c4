#include "skin/ClearPanel.h"

TClearPanel::TClearPanel(QWidget *parent)
    : TClearControl(parent)
{
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    BeginUpdate();
    setBorderStyle(bsNone);
    setStyle(sbsImage);
    SetOptions({sioHotTrackImage});
    EndUpdate();
}

void TClearPanel::DoAutoSizeArrange(int width, int height)
{
    for (QObject *object : children()) {
        if (auto *child = qobject_cast<QWidget *>(object); child && !child->isWindow()) {
            width = std::max(width, child->geometry().right() + 1);
            height = std::max(height, child->geometry().bottom() + 1);
        }
    }
    TClearControl::DoAutoSizeArrange(width, height);
}
