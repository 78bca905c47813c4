#pragma once
// The program's font families with the Debian fonts that stand in for them.
//
// Every font keeps its own family name first, so a machine that has it uses
// it, followed by families that Debian ships (installed by scripts/setup.sh).
// Sizes are pixel sizes.
#include <QFont>
#include <QString>
#include <QStringList>

namespace fonts {

inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString kTahoma = QStringLiteral("Tahoma");
inline const QString kBrush = QStringLiteral("HGS行書体");

// The family followed by its fallbacks.
QStringList familiesFor(const QString &family);

QFont make(const QString &family, int pixelSize, bool bold = false, bool underline = false);

} // namespace fonts
