#pragma once
// The key map inside the program: a small window listing every key the main
// window acts on, with what it does and where it acts, in Japanese. It is
// opened from the "?" button's menu, stays open beside the main window
// while the user tries the keys, and closes with Esc or its button. It
// follows the desktop's colours as a whole, like Qt's own dialogs.
#include <QDialog>

class QTableWidget;

class TKeyMapWindow : public QDialog
{
    Q_OBJECT

public:
    explicit TKeyMapWindow(QWidget *parent = nullptr);

    QTableWidget *table() const { return m_table; }

private:
    QTableWidget *m_table;
};
