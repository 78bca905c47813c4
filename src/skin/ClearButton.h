#pragma once
// Sort button of a destination slot: a caption on a folder picture.
//
// For now a flat push button with the slot number; the picture-shaped
// outline, hot, pressed and disabled looks come with the window skin.
#include <QPushButton>

class TClearButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TClearButton(QWidget *parent = nullptr);
};
