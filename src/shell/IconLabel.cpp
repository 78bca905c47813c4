#include "shell/IconLabel.h"

#include <QFontMetrics>
#include <QTextLayout>

namespace iconlabel {

QStringList lines(const QString &text, const QFont &font, int width, int maxLines)
{
    QStringList result;
    if (text.isEmpty() || width <= 0 || maxLines <= 0)
        return result;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (result.size() == maxLines - 1) {
            // The last line takes the rest, elided when it does not fit.
            const QString rest = text.mid(line.textStart());
            result << QFontMetrics(font).elidedText(rest, Qt::ElideRight, width);
            break;
        }
        result << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return result;
}

} // namespace iconlabel
