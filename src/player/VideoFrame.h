#pragma once
// A picture buffer libmpv's software renderer can draw into: 64-byte aligned
// rows in mpv's "bgr0" layout, which is QImage::Format_RGB32 in memory.
//
// image() wraps the buffer without copying; a copy of it is only valid until
// the next resize().
#include <QImage>
#include <QSize>

#include <cstdlib>
#include <memory>

class VideoFrame
{
public:
    static constexpr int kAlignment = 64;

    // Makes room for `size` pixels; the content is undefined afterwards
    // unless the size did not change.
    void resize(QSize size);
    QSize size() const { return m_image.size(); }
    bool isNull() const { return m_image.isNull(); }
    uchar *bits() { return m_data.get(); }
    qsizetype stride() const { return m_stride; }
    const QImage &image() const { return m_image; }
    void fill(QRgb color) { m_image.fill(color); }

private:
    struct Free
    {
        void operator()(uchar *data) const { std::free(data); }
    };
    std::unique_ptr<uchar, Free> m_data;
    qsizetype m_stride = 0;
    QImage m_image;
};
