#pragma once
// The gallery's pages: each function adds one page to the window and fills
// it with live components.
class GalleryWindow;
class QWidget;
class TShineSpeedButton;

namespace gallery {

void addBrowseEditSection(GalleryWindow &window);
void addSpeedButtonSection(GalleryWindow &window);
void addHistoryComboSection(GalleryWindow &window);
void addShellSection(GalleryWindow &window);

// Writes the button's clicks, double-clicks, enters and leaves to the log.
void reportButtonEvents(GalleryWindow &window, TShineSpeedButton *button);
// One gradient button and switches for the properties that change how it
// behaves: Enabled, Down, AllowAllUp, GroupIndex, Transparent, frame type.
QWidget *speedButtonWorkbench(GalleryWindow &window, QWidget *parent);

} // namespace gallery
