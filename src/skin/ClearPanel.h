#pragma once
// Container shaped by its picture. Its shape takes in its children (their
// own shapes, or with ChildGraphicsTrans only the pixels they paint), and
// with FormTrans it also shapes the top-level window. Has no size limit and
// grows to cover its children when it sizes itself.
#include "skin/ClearControl.h"

class TClearPanel : public TClearControl
{
    Q_OBJECT

public:
    explicit TClearPanel(QWidget *parent = nullptr);

protected:
    void DoAutoSizeArrange(int width, int height) override;
};
