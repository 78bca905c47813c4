// Gallery section: gradient speed buttons in every frame, look and layout.
#include "controls/ShineSpeedButton.h"
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

#include <initializer_list>
#include <utility>

namespace {

constexpr QRgb kGlyphKey = 0xFF00FF; // fuchsia background, left out when drawn

// A 20 by 20 key-colour glyph: a navy note with a yellow head.
QImage noteGlyph()
{
    QImage glyph(20, 20, QImage::Format_RGB32);
    glyph.fill(kGlyphKey);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor navy(0, 0, 128);
    p.fillRect(11, 2, 2, 13, navy);
    p.fillRect(13, 2, 4, 2, navy);
    p.fillRect(16, 4, 2, 3, navy);
    p.setPen(navy);
    p.setBrush(QColor(255, 200, 0));
    p.drawEllipse(3, 11, 9, 6);
    return glyph;
}

// A row of buttons sharing one parent, as a group must.
QWidget *row(QWidget *parent)
{
    auto *line = new QWidget(parent);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    return line;
}

TShineSpeedButton *addButton(GalleryWindow &window, QWidget *line, const QString &caption,
    QSize size = QSize(88, 30))
{
    auto *button = new TShineSpeedButton(line);
    button->SetCaption(caption);
    button->setFixedSize(size);
    static_cast<QHBoxLayout *>(line->layout())->addWidget(button);
    gallery::reportButtonEvents(window, button);
    return button;
}

void gradient(TShineSpeedButton *button, colors::TColor from, colors::TColor to, bool vertical)
{
    button->Colors().SetGradation(true);
    button->Colors().SetColor(from);
    button->Colors().SetGradColor(to);
    button->Colors().SetGradVertical(vertical);
}

void finish(QWidget *line)
{
    static_cast<QHBoxLayout *>(line->layout())->addStretch(1);
}

QWidget *frameRow(GalleryWindow &window, QWidget *parent)
{
    QWidget *line = row(parent);
    const struct { TFrameType frame; const char *caption; } frames[] = {
        {ftFlatFrame, "フラット"}, {ftNormalFrame, "標準"}, {ftEnclosedFrame, "囲み"}};
    for (const auto &f : frames) {
        TShineSpeedButton *button = addButton(window, line, QString::fromUtf8(f.caption));
        button->SetFrameType(f.frame);
    }
    TShineSpeedButton *horizontal = addButton(window, line, QStringLiteral("横グラデーション"), QSize(120, 30));
    // Light at both ends under the caption, so the hot caption's blue reads well.
    gradient(horizontal, 0xFFFFFF, 0x80D0FF, false);
    TShineSpeedButton *vertical = addButton(window, line, QStringLiteral("縦グラデーション"), QSize(120, 30));
    gradient(vertical, 0xFFF0E0, 0x804000, true);
    vertical->PressedColors().SetGradation(true);
    vertical->PressedColors().SetColor(0x804000);
    vertical->PressedColors().SetGradColor(0xFFF0E0);
    vertical->PressedColors().SetGradVertical(true);
    vertical->SetActiveFont({vertical->Font().font, 0xFFFFFF});
    TShineSpeedButton *clear = addButton(window, line, QStringLiteral("透明"));
    clear->SetTransparent(true);
    clear->SetFrameType(ftFlatFrame);
    clear->SetUpFrame(false);
    TShineSpeedButton *hook = addButton(window, line, QStringLiteral("押下表示"));
    hook->SetClickDownHook(true);
    hook->setToolTip(QStringLiteral("クリックの処理中は押された見た目になります"));
    finish(line);
    return line;
}

QWidget *groupRow(GalleryWindow &window, QWidget *parent)
{
    QWidget *line = row(parent);
    const char *captions[] = {"左", "中央", "右"};
    for (const char *caption : captions) {
        TShineSpeedButton *button = addButton(window, line, QString::fromUtf8(caption), QSize(60, 30));
        button->SetGroupIndex(1);
        gradient(button, 0xFFFFFF, 0xE0C0A0, true);
    }
    line->findChildren<TShineSpeedButton *>().first()->SetDown(true);

    // A toggle of its own: with AllowAllUp it pops back up on a second click.
    TShineSpeedButton *toggle = addButton(window, line, QStringLiteral("切替(&T)"), QSize(80, 30));
    toggle->SetGroupIndex(2);
    toggle->SetAllowAllUp(true);
    toggle->SetAccelCharDown(true);
    toggle->SetFrameType(ftEnclosedFrame);
    toggle->setToolTip(QStringLiteral("Alt+T でも切り替わります"));
    finish(line);
    return line;
}

// One button per glyph look, the glyph above its caption.
template<typename Look>
QWidget *lookRow(GalleryWindow &window, QWidget *parent,
    std::initializer_list<std::pair<Look, const char *>> looks,
    void (*apply)(TShineSpeedButton *, Look))
{
    QWidget *line = row(parent);
    const QImage glyph = noteGlyph();
    for (const auto &[look, caption] : looks) {
        TShineSpeedButton *button = addButton(window, line, QString::fromUtf8(caption), QSize(70, 48));
        button->SetGlyph(glyph);
        button->SetLayout(blGlyphTop);
        button->SetSpacing(2);
        apply(button, look);
    }
    finish(line);
    return line;
}

QWidget *activeImageRow(GalleryWindow &window, QWidget *parent)
{
    return lookRow<TActiveImageType>(window, parent,
        {{aiNormal, "そのまま"}, {aiXorLight, "反転"}, {aiHalfLight, "半分"}, {aiQuaterLight, "4分の3"},
            {aiAddLight, "加算"}, {aiFrameLight, "縁取り"}, {aiFrameLight2, "太縁取り"}, {aiMaskLight, "網目"}},
        [](TShineSpeedButton *button, TActiveImageType look) {
            button->SetActiveImage(look);
            button->SetFrameType(ftFlatFrame);
        });
}

QWidget *disabledImageRow(GalleryWindow &window, QWidget *parent)
{
    return lookRow<TDisabledImageType>(window, parent,
        {{diDefault, "浮き彫り"}, {diGrayscale, "灰色"}, {diAlphaHalfTrans, "半透明"},
            {diAlphaQuaterTrans, "4分の1"}, {diMaskTrans, "網目"}},
        [](TShineSpeedButton *button, TDisabledImageType look) {
            button->SetDisabledImage(look);
            button->setEnabled(false);
        });
}

QWidget *captionRow(GalleryWindow &window, QWidget *parent)
{
    QWidget *line = row(parent);
    QFont big = line->font();
    big.setPixelSize(16);
    big.setBold(true);

    TShineSpeedButton *shadow = addButton(window, line, QStringLiteral("影付き"), QSize(110, 34));
    gradient(shadow, 0xFFC080, 0x802000, true);
    shadow->SetFont({big, 0xFFFFFF});
    shadow->SetActiveFont({big, 0x00FFFF});
    shadow->SetFontShadow(0x000000);

    TShineSpeedButton *relief = addButton(window, line, QStringLiteral("浮き出し"), QSize(110, 34));
    relief->SetFont({big, colors::clBtnFace});
    relief->SetActiveFont({big, colors::clBtnFace});
    relief->SetFontHighlight(0xFFFFFF);
    relief->SetFontShadow(0x404040);

    TShineSpeedButton *save = addButton(window, line, QStringLiteral("保存(&S)"), QSize(110, 34));
    save->SetGlyph(noteGlyph());
    save->setToolTip(QStringLiteral("Alt+S で押せます"));

    TShineSpeedButton *lines = addButton(window, line, QStringLiteral("二行の\n見出し"), QSize(110, 34));
    lines->SetFrameType(ftFlatFrame);
    finish(line);
    return line;
}

QWidget *layoutRow(GalleryWindow &window, QWidget *parent)
{
    QWidget *line = row(parent);
    const struct { TButtonLayout layout; const char *caption; } layouts[] = {
        {blGlyphLeft, "絵が左"}, {blGlyphRight, "絵が右"}, {blGlyphTop, "絵が上"}, {blGlyphBottom, "絵が下"}};
    const QImage glyph = noteGlyph();
    for (const auto &l : layouts) {
        TShineSpeedButton *button = addButton(window, line, QString::fromUtf8(l.caption), QSize(84, 48));
        button->SetGlyph(glyph);
        button->SetLayout(l.layout);
        button->SetActiveImage(aiHalfLight);
    }
    TShineSpeedButton *margin = addButton(window, line, QStringLiteral("余白 4"), QSize(110, 48));
    margin->SetGlyph(glyph);
    margin->SetMargin(4);
    finish(line);
    return line;
}

} // namespace

void gallery::addSpeedButtonSection(GalleryWindow &window)
{
    QGroupBox *box = window.addSection(QStringLiteral("グラデーションボタン"));
    auto *grid = new QGridLayout(box);
    const struct { const char *title; QWidget *(*build)(GalleryWindow &, QWidget *); } rows[] = {
        {"操作して試す", gallery::speedButtonWorkbench},
        {"枠の種類", frameRow},
        {"グループ", groupRow},
        {"ホット時の絵", activeImageRow},
        {"無効時の絵", disabledImageRow},
        {"見出しの影", captionRow},
        {"絵の配置", layoutRow},
    };
    int r = 0;
    for (const auto &entry : rows) {
        grid->addWidget(new QLabel(QString::fromUtf8(entry.title), box), r, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(entry.build(window, box), r, 1);
        ++r;
    }
    grid->setColumnStretch(1, 1);
}
