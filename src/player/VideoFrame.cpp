#include "player/VideoFrame.h"

void VideoFrame::resize(QSize size)
{
    if (size == m_image.size())
        return;
    m_image = QImage();
    m_data.reset();
    m_stride = 0;
    if (size.isEmpty())
        return;
    m_stride = (qsizetype(size.width()) * 4 + kAlignment - 1) / kAlignment * kAlignment;
    const size_t bytes = size_t(m_stride) * size_t(size.height());
    m_data.reset(static_cast<uchar *>(std::aligned_alloc(kAlignment, bytes)));
    if (!m_data)
        return;
    m_image = QImage(m_data.get(), size.width(), size.height(), m_stride, QImage::Format_RGB32);
}
