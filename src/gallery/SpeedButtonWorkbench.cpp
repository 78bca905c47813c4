// Gallery: a gradient button to try with its switches.
#include "controls/ShineSpeedButton.h"
#include "gallery/GallerySections.h"
#include "gallery/GalleryWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace {

QString captionOf(const TShineSpeedButton *button)
{
    QString name = button->Caption();
    name.remove(QLatin1Char('&'));
    return name.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QCheckBox *switchFor(QWidget *parent, QHBoxLayout *layout, const QString &text, bool on)
{
    auto *box = new QCheckBox(text, parent);
    box->setChecked(on);
    layout->addWidget(box);
    return box;
}

} // namespace

void gallery::reportButtonEvents(GalleryWindow &window, TShineSpeedButton *button)
{
    QObject::connect(button, &TShineSpeedButton::OnClick, &window, [&window, button] {
        window.report(QStringLiteral("「%1」OnClick%2").arg(captionOf(button),
            button->GroupIndex() ? (button->Down() ? QStringLiteral("（押し下げ）") : QStringLiteral("（解除）"))
                                 : QString()));
    });
    QObject::connect(button, &TShineSpeedButton::OnDblClick, &window,
        [&window, button] { window.report(QStringLiteral("「%1」OnDblClick").arg(captionOf(button))); });
    QObject::connect(button, &TShineSpeedButton::OnMouseEnter, &window,
        [&window, button] { window.report(QStringLiteral("「%1」OnMouseEnter").arg(captionOf(button))); });
    QObject::connect(button, &TShineSpeedButton::OnMouseLeave, &window,
        [&window, button] { window.report(QStringLiteral("「%1」OnMouseLeave").arg(captionOf(button))); });
}

QWidget *gallery::speedButtonWorkbench(GalleryWindow &window, QWidget *parent)
{
    auto *line = new QWidget(parent);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    // The button and its group partner share one parent, as a group must.
    auto *pair = new QWidget(line);
    auto *pairLayout = new QHBoxLayout(pair);
    pairLayout->setContentsMargins(0, 0, 0, 0);
    auto *button = new TShineSpeedButton(pair);
    button->setObjectName(QStringLiteral("workbenchButton"));
    button->SetCaption(QStringLiteral("試す"));
    button->setFixedSize(88, 30);
    auto *partner = new TShineSpeedButton(pair);
    partner->setObjectName(QStringLiteral("workbenchPartner"));
    partner->SetCaption(QStringLiteral("相手"));
    partner->setFixedSize(88, 30);
    partner->setToolTip(QStringLiteral("「試す」と同じグループ番号にすると、どちらか一方だけが押し下がります"));
    for (TShineSpeedButton *b : {button, partner}) {
        pairLayout->addWidget(b);
        reportButtonEvents(window, b);
    }
    layout->addWidget(pair);

    QCheckBox *enabled = switchFor(line, layout, QStringLiteral("Enabled"), true);
    QObject::connect(enabled, &QCheckBox::toggled, button, &QWidget::setEnabled);

    layout->addWidget(new QLabel(QStringLiteral("GroupIndex:"), line));
    auto *group = new QSpinBox(line);
    group->setObjectName(QStringLiteral("groupIndex"));
    group->setRange(0, 9);
    layout->addWidget(group);
    auto *partnerGroup = new QSpinBox(line);
    partnerGroup->setObjectName(QStringLiteral("partnerGroupIndex"));
    partnerGroup->setRange(0, 9);
    partnerGroup->setToolTip(QStringLiteral("「相手」のグループ番号"));
    layout->addWidget(new QLabel(QStringLiteral("相手:"), line));
    layout->addWidget(partnerGroup);

    QCheckBox *down = switchFor(line, layout, QStringLiteral("Down"), false);
    QCheckBox *allowAllUp = switchFor(line, layout, QStringLiteral("AllowAllUp"), false);
    QCheckBox *transparent = switchFor(line, layout, QStringLiteral("Transparent"), false);

    layout->addWidget(new QLabel(QStringLiteral("枠:"), line));
    auto *frame = new QComboBox(line);
    frame->setObjectName(QStringLiteral("frameType"));
    frame->addItem(QStringLiteral("フラット"), ftFlatFrame);
    frame->addItem(QStringLiteral("標準"), ftNormalFrame);
    frame->addItem(QStringLiteral("囲み"), ftEnclosedFrame);
    frame->setCurrentIndex(frame->findData(button->FrameType()));
    layout->addWidget(frame);
    layout->addStretch(1);

    // The switches show what the button holds now: a click, a group partner
    // or a refused change moves Down as much as the switch does.
    const auto showState = [button, down, group] {
        const QSignalBlocker quiet(down);
        down->setChecked(button->Down());
        down->setEnabled(button->GroupIndex() != 0);
        const QSignalBlocker quietGroup(group);
        group->setValue(button->GroupIndex());
    };
    QObject::connect(group, &QSpinBox::valueChanged, button, [button, showState](int value) {
        button->SetGroupIndex(value);
        showState();
    });
    QObject::connect(partnerGroup, &QSpinBox::valueChanged, partner,
        [partner, showState](int value) {
            partner->SetGroupIndex(value);
            showState();
        });
    QObject::connect(down, &QCheckBox::toggled, button, [button, showState](bool on) {
        button->SetDown(on);
        showState();
    });
    QObject::connect(allowAllUp, &QCheckBox::toggled, button, [button, showState](bool on) {
        button->SetAllowAllUp(on);
        showState();
    });
    QObject::connect(transparent, &QCheckBox::toggled, button, &TShineSpeedButton::SetTransparent);
    QObject::connect(frame, &QComboBox::currentIndexChanged, button,
        [button, frame] { button->SetFrameType(static_cast<TFrameType>(frame->currentData().toInt())); });
    for (TShineSpeedButton *b : {button, partner})
        QObject::connect(b, &TShineSpeedButton::OnClick, line, showState);
    showState();
    return line;
}
