#pragma once
// The name under a large icon: wrapped to at most two lines, at a word
// boundary where there is one and anywhere inside a word that is too long
// ("size1000.bin" breaks within the word rather than reading "size10…"),
// and elided at the end of the last line only when even two lines are not
// enough. Display-free apart from the font's measures.
#include <QFont>
#include <QStringList>

namespace iconlabel {

inline constexpr int kMaxLines = 2;

// The lines shown for `text` in `font` within `width` pixels.
QStringList lines(const QString &text, const QFont &font, int width, int maxLines = kMaxLines);

} // namespace iconlabel
