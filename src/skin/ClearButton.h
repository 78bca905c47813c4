#pragma once
// Push button shaped by its picture: a raised outline with a light edge,
// face rim and shadow that sinks when pressed, a lighter look under the
// pointer and a grey one when disabled. Takes no keyboard focus.
#include "skin/ClearControl.h"

class TClearButton : public TClearControl
{
    Q_OBJECT

public:
    explicit TClearButton(QWidget *parent = nullptr);
};
