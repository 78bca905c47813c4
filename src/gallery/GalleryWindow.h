#pragma once
// The gallery's window: a workbench with one page per component, where a
// person tries each control live, switches its properties and watches what
// it does.
//
// Each page is built by its own function (GallerySections.h) that fills the
// given box; the window lists them in its constructor. Pages report every
// event of their components through report(): the event log under the pages
// keeps them in order, the status bar shows the latest.
#include <QMainWindow>

class QGroupBox;
class QPlainTextEdit;
class QTabWidget;

class GalleryWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit GalleryWindow(QWidget *parent = nullptr);
    ~GalleryWindow() override;

    // A new page, scrolling when the window is too small for it; the caller
    // fills the box.
    QGroupBox *addSection(const QString &title);

    // Shows what a component just did and writes it to the event log.
    void report(const QString &text);

    QTabWidget *pages() const { return m_pages; }
    QPlainTextEdit *eventLog() const { return m_log; }

private:
    QTabWidget *m_pages;
    QPlainTextEdit *m_log;
    // Set while the window goes away: controls closing their pop-ups then
    // have nobody left to tell.
    bool m_closing = false;
};
