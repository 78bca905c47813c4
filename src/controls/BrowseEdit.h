#pragma once
// Destination field: a line edit for a folder path.
//
// For now a plain line edit; the browse button with the folder picker comes
// with the destination slots.
#include <QByteArray>
#include <QLineEdit>

class TBrowseEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TBrowseEdit(QWidget *parent = nullptr);
};
