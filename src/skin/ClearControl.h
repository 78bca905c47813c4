#pragma once
// Base of the controls whose shape is the shape of their picture.
//
// The control draws its picture and caption on a key colour
// (TransparentColor); everything that is not the key belongs to it. On every
// change of a property or of the size it builds, once, its normal, hot,
// pressed and disabled images and its normal and pressed regions
// (clearimg::buildClearImages); painting only copies one of the images. The
// region is the widget's mask, so the key-coloured parts are neither drawn
// nor hit: presses there reach whatever lies beneath. Region updates are
// posted to the control itself and coalesced, so a burst of changes applies
// the mask once.
//
// Owns its picture and state images. TClearButton and TClearPanel only
// differ in their defaults.
#include "skin/ClearImages.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

class TClearControl : public QWidget
{
    Q_OBJECT

public:
    explicit TClearControl(QWidget *parent = nullptr);
    ~TClearControl() override;

    std::uint32_t TransparentColor() const { return m_transparentColor; }
    void setTransparentColor(std::uint32_t color);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle style);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // The caption under Qt's usual names.
    QString text() const { return m_caption; }
    void setText(const QString &caption) { setCaption(caption); }
    int CaptionLeft() const { return m_captionLeft; }
    void setCaptionLeft(int left);
    int CaptionTop() const { return m_captionTop; }
    void setCaptionTop(int top);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    TTransBtnStyle Style() const { return m_style; }
    void setStyle(TTransBtnStyle style);
    bool HotTrack() const { return m_hotTrack; }
    void setHotTrack(bool hotTrack);
    std::uint32_t Color() const { return m_color; }
    void setColor(std::uint32_t color);
    std::uint32_t LightColor() const { return m_lightColor; }
    void setLightColor(std::uint32_t color);
    std::uint32_t ShadowColor() const { return m_shadowColor; }
    void setShadowColor(std::uint32_t color);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);
    TTransImgOptions Options() const { return m_options; }
    void SetOptions(TTransImgOptions options);
    int HotLightDepth() const { return m_hotLightDepth; }
    void setHotLightDepth(std::uint8_t depth);
    // The picture; one without alpha is a bitmap whose bottom-left pixel
    // becomes the key.
    const QImage &Picture() const { return m_picture; }
    void setPicture(const QImage &picture);
    bool ParentDrag() const { return m_parentDrag; }
    void setParentDrag(bool parentDrag);
    bool FormTrans() const { return m_formTrans; }
    void setFormTrans(bool formTrans);
    bool ChildGraphicsTrans() const { return m_childGraphicsTrans; }
    void setChildGraphicsTrans(bool childGraphicsTrans);

    // Rebuilding waits until every BeginUpdate has its EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    bool isUpdating() const { return m_updateCount > 0; }

    // Rebuilds every state image and both regions, then applies the region.
    void MakeBtnImageAndRgn();
    // Asks for the mask to be brought up to date (posted and coalesced).
    void UpdateRgn();
    // Computes and applies the mask of the normal or the pressed state.
    void WinRgnSet(bool pressed);
    void AutoSizeArrange();

    // The built looks, for painting and inspection.
    const clearimg::ClearImages &images() const { return m_images; }
    // The region the mask was last set to.
    QRegion appliedRegion() const { return m_appliedRegion; }
    bool isPressedView() const { return m_mouseDown && m_pressedView; }

signals:
    void clicked();
    void OnMouseEnter(QObject *sender);
    void OnMouseLeave(QObject *sender);

protected:
    virtual void DoAutoSizeArrange(int width, int height);
    // The picture changed: take its key, fit the size, rebuild.
    void PictureChanged();

    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void childEvent(QChildEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void rebuild();
    const QImage &imageToPaint() const;
    clearimg::ClearLook look() const;
    QImage captionText() const;
    bool isUnderPointer(const QPointF &globalPos) const;
    bool isShapePixel(QPoint pos) const;
    QRegion childrenRegion() const;

    std::uint32_t m_transparentColor;
    TBorderStyle m_borderStyle = bsSingle;
    QString m_caption;
    int m_captionLeft = -1;
    int m_captionTop = -1;
    bool m_autoSize = true;
    int m_updateCount = 0;
    TTransBtnStyle m_style = sbsPushBtn;
    bool m_mouseDown = false;
    bool m_pressedView = false;
    QPoint m_lastPointer;
    bool m_hotTrack = true;
    bool m_hovered = false;
    std::uint32_t m_color;
    std::uint32_t m_lightColor;
    std::uint32_t m_shadowColor;
    bool m_stretch = false;
    TTransImgOptions m_options;
    QImage m_picture;
    std::uint32_t m_pictureKey = 0xFF00FF;
    bool m_parentDrag = false;
    bool m_formTrans = false;
    bool m_parentDragging = false;
    QPoint m_dragStart;
    bool m_childGraphicsTrans = false;
    bool m_inRegionUpdate = false;
    bool m_regionUpdatePosted = false;
    bool m_pictureNotify = true;
    std::uint8_t m_hotLightDepth = 128;

    QSize m_builtSize;
    clearimg::ClearImages m_images;
    // The state images with their key made transparent, ready to paint.
    QImage m_paintNormal, m_paintHot, m_paintPressed, m_paintDisabled;
    QRegion m_appliedRegion;
};
