#pragma once
// The colours of one look family of the gradient speed button: face (flat
// or a gradient towards GradColor), bevel edges and the enclosed outline.
//
// Every setter that changes a value calls OnChange, which the owning button
// sets to repaint itself; Assign copies all seven values and notifies.
#include "platform/SystemColors.h"

#include <functional>

class TShineBtnColors
{
public:
    explicit TShineBtnColors(colors::TColor color = colors::clBtnFace) : m_color(color) {}
    // Owned by one button each; Assign is the copy.
    TShineBtnColors(const TShineBtnColors &) = delete;
    TShineBtnColors &operator=(const TShineBtnColors &) = delete;

    // Copies every value, then notifies this set's owner.
    void Assign(const TShineBtnColors &source);
    // Copies every value into `target`, then notifies the target's owner.
    void AssignTo(TShineBtnColors &target) const { target.Assign(*this); }

    bool operator==(const TShineBtnColors &other) const;

    colors::TColor Color() const { return m_color; }
    colors::TColor Highlight() const { return m_highlight; }
    colors::TColor Shadow() const { return m_shadow; }
    colors::TColor DarkShadow() const { return m_darkShadow; }
    colors::TColor GradColor() const { return m_gradColor; }
    bool GradVertical() const { return m_gradVertical; }
    bool Gradation() const { return m_gradation; }

    void SetColor(colors::TColor value) { set(m_color, value); }
    void SetHighlight(colors::TColor value) { set(m_highlight, value); }
    void SetShadow(colors::TColor value) { set(m_shadow, value); }
    void SetDarkShadow(colors::TColor value) { set(m_darkShadow, value); }
    void SetGradColor(colors::TColor value) { set(m_gradColor, value); }
    void SetGradVertical(bool value) { set(m_gradVertical, value); }
    void SetGradation(bool value) { set(m_gradation, value); }

    // Told of every change; not copied by Assign.
    std::function<void(TShineBtnColors &sender)> OnChange;

private:
    template<typename T>
    void set(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        changed();
    }
    void changed()
    {
        if (OnChange)
            OnChange(*this);
    }

    colors::TColor m_color;
    colors::TColor m_highlight = colors::clBtnHighlight;
    colors::TColor m_shadow = colors::clBtnShadow;
    colors::TColor m_darkShadow = colors::clWindowFrame;
    colors::TColor m_gradColor = 0xFF0000; // blue
    bool m_gradVertical = false;
    bool m_gradation = false;
};
