#include "controls/ShineBtnColors.h"

void TShineBtnColors::Assign(const TShineBtnColors &source)
{
    m_color = source.m_color;
    m_highlight = source.m_highlight;
    m_shadow = source.m_shadow;
    m_darkShadow = source.m_darkShadow;
    m_gradColor = source.m_gradColor;
    m_gradVertical = source.m_gradVertical;
    m_gradation = source.m_gradation;
    changed();
}

bool TShineBtnColors::operator==(const TShineBtnColors &other) const
{
    return m_color == other.m_color && m_highlight == other.m_highlight
        && m_shadow == other.m_shadow && m_darkShadow == other.m_darkShadow
        && m_gradColor == other.m_gradColor && m_gradVertical == other.m_gradVertical
        && m_gradation == other.m_gradation;
}
