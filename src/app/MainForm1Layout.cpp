// Builds the main window's controls at their places, with their texts,
// fonts, colours, hints and tab order.
#include "app/MainForm1.h"

#include "app/AppIcon.h"
#include "app/WindowsMediaPlayer.h"
#include "player/PlayerBackend.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "controls/Panel.h"
#include "controls/Shape.h"
#include "platform/Colors.h"
#include "platform/Fonts.h"
#include "shell/FolderTreeView.h"
#include "skin/AppHint.h"
#include "skin/ClearButton.h"
#include "skin/GlintFadeButton.h"
#include "skin/TechnicalLine.h"

#include <QAction>
#include <QLabel>
#include <QStyle>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QToolButton>

// The window's pictures live in this static library's resources, which the
// linker keeps only when something names them.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

using colors::fromBgr;

constexpr int kSlotPitch = 76;

// Full-width digit N, as the slot hints write it.
QString wideDigit(int n)
{
    return QString(QChar(0xFF10 + n));
}

// The colour of an enabled control's text; a disabled one keeps the greyed look.
void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette pal = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, color);
        pal.setColor(group, QPalette::Text, color);
        pal.setColor(group, QPalette::ButtonText, color);
    }
    widget->setPalette(pal);
}

// A control drawn in its own colours: white paper and the given text,
// with the style's light look for the rest (selection, frame, scroll
// bars), whatever the desktop's palette. Only its text colour is fixed
// otherwise, and a dark palette would put that text on dark paper.
void keepOwnColours(QWidget *widget, const QColor &text)
{
    QPalette pal = widget->style()->standardPalette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Base, fromBgr(colors::clWhite));
    widget->setPalette(pal);
    setTextColor(widget, text);
}

// Names a new control and puts it at its place on parent.
template <typename Control>
Control *place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(left, top, width, height);
    return control;
}

template <typename Control>
Control *place(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    return place(new Control(parent), name, left, top, width, height);
}

struct ConnectorRow
{
    int slot;
    int top;
    int height;
    TTechnicalLineTypes type;
};

// The fan of arrows from the list side to the sort buttons.
constexpr ConnectorRow kLines[] = {
    {1, 30, 318, lsTopLeftCurve},
    {2, 106, 240, lsTopLeftCurve},
    {3, 182, 164, lsTopLeftCurve},
    {8, 256, 90, lsTopLeftCurve},
    {4, 332, 29, lsStraightLeftToRight},
    {5, 344, 94, lsTopRightCurve},
    {6, 344, 168, lsTopRightCurve},
    {7, 344, 244, lsTopRightCurve},
    {9, 344, 320, lsTopRightCurve},
};

} // namespace

void TMainForm1::buildLayout()
{
    initResources();
    setObjectName(QStringLiteral("MainForm1"));
    setWindowTitle(QStringLiteral("Ondasort"));
    setWindowIcon(appicon::make());
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(fonts::make(fonts::kPGothic, 12));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    AppHint1 = new TAppHint(this);
    AppHint1->setObjectName(QStringLiteral("AppHint1"));
    AppHint1->setBGColor(colors::clBlack);
    AppHint1->setBrush(fromBgr(0x555555));
    AppHint1->setFont(fonts::make(fonts::kBrush, 27, true));
    AppHint1->setFontColor(colors::clWhite);
    AppHint1->setHintPause(500);
    AppHint1->setHintHidePause(2000);
    AppHint1->setHintShortPause(0);
    AppHint1->setHintStyle(hsLineString);
    AppHint1->setShadowColor(colors::clBlack);
    AppHint1->setShadowVisible(true);
    // Hints show wherever the pointer rests, active window or not.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    buildChrome();
    buildWorkingArea();
    buildSlots();
    setTabOrder();
}

void TMainForm1::buildChrome()
{
    Shape1 = new TShape(fromBgr(colors::clBlue), 2, this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(0, 0, 60, 704);
    Shape0 = new TShape(fromBgr(colors::clWhite), 2, this);
    Shape0->setObjectName(QStringLiteral("Shape0"));
    Shape0->setGeometry(58, 0, 738, 704);

    Image1 = place<QLabel>(this, "Image1", 5, 6, 51, 471);
    Image1->setPixmap(QPixmap(QStringLiteral(":/app/title.png")));

    Label11 = place<QLabel>(this, "Label11", 20, 524, 36, 150);
    Label11->setText(QStringLiteral("WM* IVF AVI MPEG VOD AIFF WAV MIDI AU MP3"));
    Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label11->setWordWrap(true);
    Label11->setFont(fonts::make(fonts::kTahoma, 12));
    Label11->setAutoFillBackground(true);
    {
        QPalette pal = Label11->palette();
        pal.setColor(QPalette::WindowText, fromBgr(0xFF8080));
        pal.setColor(QPalette::Window, fromBgr(colors::clBlue));
        Label11->setPalette(pal);
    }

    Panel1 = new TPanel(fromBgr(0xFF8080), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(60, 2, 734, 700);
    Panel2 = new TPanel(fromBgr(colors::clBlue), this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(3, 680, 55, 18);
    Panel3 = new TPanel(fromBgr(colors::clRed), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(3, 660, 17, 18);

    struct FadeSpec
    {
        TGlintFadeButton *&button;
        const char *name;
        TPanel *panel;
        int left;
        const char *caption;
        QString hint;
    };
    const FadeSpec fades[] = {
        {FadeButton3, "FadeButton3", Panel2, 0, "×", QStringLiteral(" 閉じる")},
        {FadeButton2, "FadeButton2", Panel2, 18, "_", QStringLiteral(" 最小化")},
        {FadeButton1, "FadeButton1", Panel2, 36, "?", QStringLiteral(" ユーザーズガイド")},
        {FadeButton4, "FadeButton4", Panel3, 0, "i", QStringLiteral(" インフォメーション")},
    };
    for (const FadeSpec &fade : fades) {
        TGlintFadeButton *button = place<TGlintFadeButton>(fade.panel, fade.name, fade.left, 0, 17, 18);
        button->setCaption(QString::fromUtf8(fade.caption));
        button->setFont(fonts::make(fonts::kTahoma, 12));
        setTextColor(button, fromBgr(colors::clWhite));
        button->setColor(0xFF8000);
        button->setDestColor(colors::clWhite);
        button->setCaptionOverColor(colors::clYellow);
        button->setShowBorder(true);
        button->setBorderColor(colors::clSilver);
        button->setBorderDestColor(colors::clWhite);
        button->setBorderHeight(1);
        button->setFadeOnOver(true);
        button->setFadeOnLeave(false);
        button->setStep(2);
        button->setSpeed(10);
        AppHint1->setHint(button, fade.hint);
        fade.button = button;
    }
}

void TMainForm1::buildWorkingArea()
{
    const QFont listFont = fonts::make(fonts::kPMincho, 12);
    const QColor grey70 = fromBgr(0x464646);

    FolderTreeView0 = place<TFolderTreeView>(Panel1, "FolderTreeView0", 10, 8, 240, 216);
    FolderTreeView0->setFont(listFont);
    keepOwnColours(FolderTreeView0, grey70);
    FolderTreeView0->setEmphasizeFocus(true);
    FolderTreeView0->setIndentation(20);
    AppHint1->setHint(FolderTreeView0, QStringLiteral(" フォルダの選択"));

    // The libmpv backend unless the creator gave another.
    auto *player = m_makePlayerBackend ? new TWindowsMediaPlayer(m_makePlayerBackend(), Panel1)
                                       : new TWindowsMediaPlayer(Panel1);
    WindowsMediaPlayer1 = place(player, "WindowsMediaPlayer1", 8, 228, 245, 240);
    WindowsMediaPlayer1->setCursor(Qt::PointingHandCursor);

    FileListBox1 = place<TFileListBox>(Panel1, "FileListBox1", 10, 472, 240, 216);
    FileListBox1->setFont(listFont);
    keepOwnColours(FileListBox1, grey70);
    FileListBox1->viewport()->setCursor(Qt::PointingHandCursor);
    AppHint1->setHint(FileListBox1,
        QStringLiteral(" ファイルの選択(WM*,IVF,AVI,MPEG,VOD,AIFF,WAV,MIDI,AU,MP3)"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    // A menu is a window of its own and does not take the window's font; the
    // desktop's may lack Japanese, and a fallback measured by one font and
    // drawn by another cuts the label short.
    PopupMenu1->setFont(font());
    E1 = PopupMenu1->addAction(QStringLiteral("最新の情報に更新(&E)"));
    E1->setObjectName(QStringLiteral("E1"));
    E1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    // The shortcut acts while the file list has the keyboard focus.
    E1->setShortcutContext(Qt::WidgetShortcut);
    FileListBox1->addAction(E1);
    FileListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FileListBox1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { PopupMenu1->popup(FileListBox1->viewport()->mapToGlobal(pos)); });

    const QFont radioFont = fonts::make(fonts::kPMincho, 12);
    RadioButton1 = place<QRadioButton>(Panel1, "RadioButton1", 260, 488, 113, 17);
    RadioButton1->setText(QStringLiteral("ファイルの移動"));
    RadioButton1->setChecked(true);
    AppHint1->setHint(RadioButton1, QStringLiteral(" ファイル移動モードへ"));
    RadioButton2 = place<QRadioButton>(Panel1, "RadioButton2", 260, 512, 113, 17);
    RadioButton2->setText(QStringLiteral("ファイルの複製"));
    AppHint1->setHint(RadioButton2, QStringLiteral(" ファイル複製モードへ"));
    for (QRadioButton *radio : {RadioButton1, RadioButton2}) {
        radio->setFont(radioFont);
        setTextColor(radio, fromBgr(colors::clBlack));
    }

    // The free space left of the slot lines, below the radios: the
    // background operation's progress, then messages.
    const QFont statusFont = fonts::make(fonts::kPGothic, 10);
    ProgressLine = place<QLabel>(Panel1, "ProgressLine", 260, 538, 68, 40);
    ProgressBar1 = place<QProgressBar>(Panel1, "ProgressBar1", 260, 580, 68, 5);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    MessageLine = place<QLabel>(Panel1, "MessageLine", 260, 590, 68, 96);
    MessageLine->setWordWrap(true);
    for (QLabel *line : {ProgressLine, MessageLine}) {
        line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        line->setFont(statusFont);
        setTextColor(line, fromBgr(colors::clBlack));
    }

    SpeedButton1 = place<QToolButton>(Panel1, "SpeedButton1", 332, 626, 46, 50);
    SpeedButton1->setText(QStringLiteral("0"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setFont(fonts::make(fonts::kPGothic, 21, true, true));
    setTextColor(SpeedButton1, fromBgr(colors::clBlue));
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    AppHint1->setHint(SpeedButton1, QStringLiteral(" 次のファイルへ"));

    Label0 = place<QLabel>(Panel1, "Label0", 20, 688, 22, 12);
    Label0->hide();
}

void TMainForm1::buildSlots()
{
    for (const ConnectorRow &line : kLines) {
        const QByteArray name = "TechnicalLine" + QByteArray::number(line.slot);
        auto *control = place<TTechnicalLine>(Panel1, name.constData(), 330, line.top, 100, line.height);
        control->setLineType(line.type);
        control->setLineEndingsign(leClosedArrowRight);
        control->setLineStartSign(leNothing);
        control->setSignPlaces(spEnd);
        control->setSignSize(24);
        control->setLineSettings(0x404080, 2);
        control->setShadowColor(colors::clBlue);
        control->setShadowVisible(true);
        control->setShadowDepth(1);
        control->setFillColor(colors::clBlue);
        control->setBevel({TTechnicalLine::TFrameBevel::bmCustom, 0});
        TechnicalLine[line.slot - 1] = control;
    }

    const QImage folder(QStringLiteral(":/app/folder.png"));
    for (int n = 1; n <= kSlotCount; ++n) {
        const int row = kSlotPitch * (n - 1);
        const QByteArray digit = QByteArray::number(n);

        auto *button = new TClearButton(Panel1);
        button->setObjectName(QString::fromLatin1("ClearButton" + digit));
        // The folder's outline is the button: white is cut away, and the
        // size stays fixed whatever the picture.
        button->BeginUpdate();
        button->setAutoSize(false);
        button->setGeometry(434, 18 + row, 46, 50);
        button->setPicture(folder);
        button->setStyle(sbsPushBtn);
        button->setTransparentColor(colors::clWhite);
        button->setShadowColor(colors::clSilver);
        button->setColor(colors::clWhite);
        button->setText(QString::number(n));
        button->setFont(fonts::make(fonts::kPMincho, 21, true, true));
        setTextColor(button, fromBgr(colors::clBlue));
        button->EndUpdate();
        button->setCursor(Qt::PointingHandCursor);
        button->setEnabled(false);
        AppHint1->setHint(button, QStringLiteral(" ファイル振り分け") + wideDigit(n));
        ClearButton[n - 1] = button;

        auto *edit = place<TBrowseEdit>(Panel1, ("BrowseEdit" + digit).constData(), 486, 14 + row, 240, 20);
        edit->setFont(fonts::make(fonts::kPMincho, 12));
        keepOwnColours(edit, fromBgr(colors::clBlack));
        edit->setCursor(Qt::IBeamCursor);
        edit->setCaretBlinkRate(200);
        AppHint1->setHint(edit, QStringLiteral(" 移動・複製先フォルダ") + wideDigit(n));
        BrowseEdit[n - 1] = edit;

        auto *label = place<QLabel>(Panel1, ("Label" + digit).constData(), 486, 40 + row, 240, 21);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(fonts::make(fonts::kPMincho, 21, true));
        setTextColor(label, fromBgr(colors::clWhite));
        Label[n - 1] = label;
    }
}

void TMainForm1::setTabOrder()
{
    // Keyboard order inside Panel1; the sort buttons take no focus.
    QList<QWidget *> order {FileListBox1, RadioButton1, RadioButton2};
    for (int n = 1; n <= 8; ++n)
        order << BrowseEdit[n - 1];
    order << WindowsMediaPlayer1 << BrowseEdit[8] << FolderTreeView0;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
