#pragma once
// The gallery's window: the component set shown live, one titled section
// per component, stacked in a scrolling column.
//
// Each section is built by its own function (GallerySections.h) that fills
// the given box; the window lists them in its constructor. Sections report
// what their components do (clicks, changes) through report(), which shows
// the text in the status bar.
#include <QMainWindow>

class QGroupBox;
class QVBoxLayout;

class GalleryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit GalleryWindow(QWidget *parent = nullptr);

    // A new section at the bottom of the column; the caller fills the box.
    QGroupBox *addSection(const QString &title);

    // Shows what a component just did.
    void report(const QString &text);

private:
    QVBoxLayout *m_column;
};
