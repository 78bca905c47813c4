#pragma once
// The gallery's sections: each function adds one section to the window and
// fills it with live components.
class GalleryWindow;

namespace gallery {

void addBrowseEditSection(GalleryWindow &window);
void addSpeedButtonSection(GalleryWindow &window);
void addHistoryComboSection(GalleryWindow &window);
void addShellSection(GalleryWindow &window);

} // namespace gallery
