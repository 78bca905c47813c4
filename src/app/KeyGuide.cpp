#include "app/KeyGuide.h"

namespace keyguide {

const std::vector<Entry> &entries()
{
    static const std::vector<Entry> table {
        {QStringLiteral("テンキー 1〜9、F1〜F9"),
            QStringLiteral("今のファイルを振り分け先 1〜9 へ移動または複製して、次のファイルへ"
                           "（その振り分け先のフォルダがあるときだけ）")},
        {QStringLiteral("スペース、テンキー 0"), QStringLiteral("振り分けずに次のファイルへ")},
        {QStringLiteral("Delete"), QStringLiteral("今のファイルをごみ箱へ送って、次のファイルへ")},
        {QStringLiteral("Ctrl+Z"),
            QStringLiteral("直前の振り分け（移動・複製・ごみ箱）を取り消す。"
                           "続けて押すとさらに前へ。終了したあとでも取り消せます")},
        {QStringLiteral("Ctrl+R"), QStringLiteral("ファイル一覧を最新の情報に更新")},
    };
    return table;
}

QStringList notes()
{
    return {
        QStringLiteral("キーは、ファイル一覧・移動/複製の切り替え・振り分け先の入力欄に"
                       "フォーカスがあるときに働きます（起動時はファイル一覧）。"),
        QStringLiteral("Delete と Ctrl+Z はファイル一覧か移動/複製の切り替えで、"
                       "Ctrl+R はファイル一覧で働きます（入力欄では文字の編集に使われます）。"),
        QStringLiteral("テンキーは Num Lock がオンのときに働きます。"
                       "キーボード上段の数字キーは振り分けに使いません。"),
    };
}

int displayWidth(const QString &text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4()) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
            || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
            || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
            || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
        width += wide ? 2 : 1;
    }
    return width;
}

namespace {

// Greedy lines of at most width columns; a line never starts with a closing
// mark, and Latin words stay whole.
QStringList wrap(const QString &text, int width)
{
    static const QString closing = QStringLiteral("、。）」,.)");
    QStringList lines;
    QString line;
    int used = 0;
    const QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const QString c = QString::fromUcs4(reinterpret_cast<const char32_t *>(&chars[i]), 1);
        // A Latin word moves to the next line whole.
        int wordWidth = displayWidth(c);
        if (c != QLatin1String(" ") && displayWidth(c) == 1) {
            for (qsizetype j = i + 1; j < chars.size() && chars[j] != ' ' && chars[j] < 0x2E80; ++j)
                ++wordWidth;
        }
        const bool startsWord = i == 0 || chars[i - 1] == ' ' || chars[i - 1] >= 0x2E80;
        const int needed = startsWord ? wordWidth : displayWidth(c);
        if (used + needed > width && !line.isEmpty() && !closing.contains(c)) {
            lines << line.trimmed();
            line.clear();
            used = 0;
            if (c == QLatin1String(" "))
                continue;
        }
        line += c;
        used += displayWidth(c);
    }
    if (!line.trimmed().isEmpty())
        lines << line.trimmed();
    return lines;
}

} // namespace

QString asText(const QString &indent, int width)
{
    int keysWidth = 0;
    for (const Entry &entry : entries())
        keysWidth = qMax(keysWidth, displayWidth(entry.keys));
    const int actionColumn = displayWidth(indent) + keysWidth + 2;
    const QString hanging(actionColumn, QLatin1Char(' '));
    QString text;
    for (const Entry &entry : entries()) {
        const QStringList lines = wrap(entry.action, width - actionColumn);
        text += indent + entry.keys + QString(keysWidth - displayWidth(entry.keys) + 2, QLatin1Char(' '))
            + lines.join(QLatin1Char('\n') + hanging) + QLatin1Char('\n');
    }
    for (const QString &note : notes())
        text += indent + wrap(note, width - displayWidth(indent)).join(QLatin1Char('\n') + indent) + QLatin1Char('\n');
    return text;
}

} // namespace keyguide
