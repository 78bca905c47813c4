#pragma once
// Qt's own texts in Japanese: the standard dialogs (the folder picker, the
// message boxes), their buttons and the edit menus of text fields, from the
// translations that come with Qt (qtbase_ja.qm in Qt's translations folder),
// and our own for the few texts that catalogue lacks.
#include <QTranslator>

#include <memory>

namespace qttranslations {

// Installs Qt's Japanese texts into the application, whatever the user's
// locale: every text of the window is Japanese, so its dialogs are too, and
// Japanese becomes the default locale (the dates and sizes they show).
// The texts stay in force while the returned translator lives; null when
// the translations are not installed, and Qt's texts then stay English.
std::unique_ptr<QTranslator> installJapanese();

} // namespace qttranslations
