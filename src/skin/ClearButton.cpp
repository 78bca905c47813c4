#include "skin/ClearButton.h"

TClearButton::TClearButton(QWidget *parent)
    : QPushButton(parent)
{
    setFlat(true);
    // Sort buttons never take the keyboard focus away from the file list.
    setFocusPolicy(Qt::NoFocus);
}
