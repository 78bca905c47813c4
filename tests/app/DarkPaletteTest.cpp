// Under a dark desktop palette every control stays readable: a control with
// colours of its own keeps its background with its text, one without follows
// the palette for both.
#include "SortFixture.h"

#include "app/KeyMapWindow.h"
#include "controls/BrowseEdit.h"
#include "controls/FileListBox.h"
#include "shell/FolderTreeView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QHash>
#include <QMap>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <cmath>

namespace {

QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2b), text(0xe6, 0xe6, 0xe6), base(0x1c, 0x1c, 0x1c);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x42, 0x42, 0x42));
    p.setColor(QPalette::Mid, QColor(0x25, 0x25, 0x25));
    p.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x18));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return p;
}

double luminance(const QColor &c)
{
    auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class DarkPaletteTest : public SortFixture
{
protected:
    ~DarkPaletteTest() override { QApplication::setPalette(m_light); }

    QPalette m_light = QApplication::palette();
};

// The colour most pixels of the image have.
QColor dominant(const QImage &image)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    QRgb best = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            best = it.key();
        }
    }
    return QColor::fromRgb(best);
}

// The background a label or radio button's text is drawn on: the nearest
// widget, itself included, that fills its background.
QColor paperBehind(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return Qt::white;
}

TEST_F(DarkPaletteTest, ListsTreeAndFieldsKeepTheirPaperWithTheirText)
{
    QApplication::setPalette(darkPalette());
    TMainForm1 &w = openSource({"a.mp3", "b.wav", "c.mid"});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    struct Surface
    {
        const char *what;
        QWidget *control;
        QWidget *paper;  // the part whose pixels show the background
    };
    const Surface surfaces[] = {
        {"folder tree", w.FolderTreeView0, w.FolderTreeView0->viewport()},
        {"file list", w.FileListBox1, w.FileListBox1->viewport()},
        {"destination field 1", w.BrowseEdit[0], w.BrowseEdit[0]},
        {"empty destination field 9", w.BrowseEdit[8], w.BrowseEdit[8]},
    };
    for (const Surface &s : surfaces) {
        const QPalette &pal = s.control->palette();
        const QColor text = pal.color(QPalette::Text), base = pal.color(QPalette::Base);
        EXPECT_GE(contrast(text, base), 4.5) << s.what << ": " << text.name().toStdString() << " on "
                                             << base.name().toStdString();
        // What the user sees is that paper, not the dark one of the desktop.
        EXPECT_EQ(dominant(s.paper->grab().toImage()), base) << s.what;
    }
}

TEST_F(DarkPaletteTest, EveryLabelAndButtonTextIsAsReadableAsUnderALightPalette)
{
    auto readability = [this] {
        QMap<QString, double> ratios;
        TMainForm1 &w = openSource({"a.mp3"});
        w.show();
        for (QWidget *child : w.findChildren<QWidget *>()) {
            QString text;
            if (auto *label = qobject_cast<QLabel *>(child))
                text = label->text();
            else if (auto *radio = qobject_cast<QRadioButton *>(child))
                text = radio->text();
            if (text.isEmpty() || !child->isVisible())
                continue;
            ratios[child->objectName()] = contrast(child->palette().color(child->foregroundRole()), paperBehind(child));
        }
        form.reset();
        return ratios;
    };
    const QMap<QString, double> light = readability();
    ASSERT_FALSE(light.isEmpty());
    QApplication::setPalette(darkPalette());
    const QMap<QString, double> dark = readability();
    for (auto it = light.cbegin(); it != light.cend(); ++it)
        EXPECT_GE(dark.value(it.key()), std::min(it.value(), 4.5) * 0.95) << it.key().toStdString();
}

} // namespace
