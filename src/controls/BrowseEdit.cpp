#include "controls/BrowseEdit.h"

TBrowseEdit::TBrowseEdit(QWidget *parent)
    : QLineEdit(parent)
{
}
