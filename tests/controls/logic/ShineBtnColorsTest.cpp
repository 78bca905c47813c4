#include "controls/ShineBtnColors.h"

#include <gtest/gtest.h>

namespace {

TEST(ShineBtnColorsTest, NotifiesOnlyRealChanges)
{
    TShineBtnColors set;
    int changes = 0;
    set.OnChange = [&](TShineBtnColors &) { ++changes; };
    EXPECT_EQ(set.Color(), colors::clBtnFace);
    EXPECT_EQ(set.GradColor(), 0xFF0000u);
    EXPECT_EQ(set.DarkShadow(), colors::clWindowFrame);

    set.SetGradation(false);
    set.SetColor(colors::clBtnFace);
    EXPECT_EQ(changes, 0);
    set.SetGradation(true);
    set.SetGradColor(0x00FF00);
    set.SetGradVertical(true);
    EXPECT_EQ(changes, 3);
}

TEST(ShineBtnColorsTest, AssignCopiesEveryValueAndNotifiesTheReceiver)
{
    TShineBtnColors source(0x123456);
    source.SetHighlight(1);
    source.SetShadow(2);
    source.SetDarkShadow(3);
    source.SetGradColor(4);
    source.SetGradVertical(true);
    source.SetGradation(true);
    int sourceChanges = 0;
    source.OnChange = [&](TShineBtnColors &) { ++sourceChanges; };

    TShineBtnColors target;
    int targetChanges = 0;
    target.OnChange = [&](TShineBtnColors &) { ++targetChanges; };
    source.AssignTo(target);
    EXPECT_TRUE(target == source);
    EXPECT_EQ(targetChanges, 1);
    EXPECT_EQ(sourceChanges, 0);

    TShineBtnColors other;
    target.Assign(other);
    EXPECT_TRUE(target == other);
    EXPECT_EQ(targetChanges, 2);
}

} // namespace
