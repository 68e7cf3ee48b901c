// The hint rules without windows: display text, size, position, clamp, no-overlap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "hint/hint_rules.h"

namespace {

std::string Display(const std::string& title, int contents)
{
    char text[kHintTextSize];
    memset(text, 'x', sizeof text);
    BuildDisplayText(title, contents, text);
    return text;
}

pixel_rect_t Rect(int l, int t, int r, int b) { return pixel_rect_t{l, t, r, b}; }

// The pass spelled out: each box stepped until it stops.
void SlowPass(std::vector<hint_box_t>& boxes)
{
    for (size_t a = 0; a < boxes.size(); ++a) {
        while (AvoidOverlapStep(boxes, a)) {}
    }
}

}  // namespace

TEST(DisplayText, FirstCharacterOrWholeText)
{
    EXPECT_EQ("S", Display("Seventh", 0));
    EXPECT_EQ("Seventh", Display("Seventh", 1));
    EXPECT_EQ("Seventh", Display("Seventh", 2)) << "any non-zero Contents shows everything";
    EXPECT_EQ("", Display("", 0));
    EXPECT_EQ("", Display("", 1));
}

TEST(DisplayText, DoubleByteFirstCharacterIsShownWhole)
{
#ifdef _WIN32
    ASSERT_EQ(932u, GetACP()) << "double-byte rules need the Japanese code page (LANG=ja_JP.UTF-8)";
#endif
    // メモ帳 in Shift-JIS: a first character of two bytes.
    const std::string memo = "\x83\x81\x83\x82\x92\xa0";
    EXPECT_EQ("\x83\x81", Display(memo, 0));
    EXPECT_EQ(memo, Display(memo, 1));
    // A half-width katakana is one byte.
    EXPECT_EQ("\xb1", Display("\xb1\xb2", 0));
    // A lone lead byte is still the first byte.
    EXPECT_EQ("\x83", Display("\x83", 0));
    EXPECT_EQ("\x83", Display("\x83", 1));
}

TEST(DisplayText, IsCutTo1023Bytes)
{
    EXPECT_EQ(std::string(1023, 'a'), Display(std::string(2000, 'a'), 1));
}

TEST(ItemTextField, UnterminatedFieldIsCutAtItsEnd)
{
#ifdef _WIN32
    ASSERT_EQ(932u, GetACP()) << "double-byte rules need the Japanese code page (LANG=ja_JP.UTF-8)";
#endif
    char record[260];
    memset(record, 'A', sizeof record);  // 256 bytes of text, then more non-zero bytes
    EXPECT_EQ(std::string(256, 'A'), ItemText(record, 256));
    record[10] = '\0';
    EXPECT_EQ(std::string(10, 'A'), ItemText(record, 256));
    // A double-byte character cut by the field's end is dropped, not halved.
    memset(record, 'A', sizeof record);
    record[255] = '\x83';
    EXPECT_EQ(std::string(255, 'A'), ItemText(record, 256));
    record[254] = '\x83';
    record[255] = '\x81';
    EXPECT_EQ(std::string(254, 'A') + "\x83\x81", ItemText(record, 256));
    // A terminated text is taken whole, even when it ends in a lead byte.
    memset(record, 'A', sizeof record);
    record[3] = '\x83';
    record[4] = '\0';
    EXPECT_EQ("AAA\x83", ItemText(record, 256));
    record[255] = '\0';
    record[254] = '\x83';
    record[4] = 'A';
    EXPECT_EQ(std::string(3, 'A') + "\x83" + std::string(250, 'A') + "\x83", ItemText(record, 256));
}

TEST(HintSizeRule, FittedAndFixedWidths)
{
    pixel_size_t text{40, 12};
    pixel_size_t s = HintSize(text, 0, true);
    EXPECT_EQ(68, s.cx) << "fitted, icon";
    EXPECT_EQ(22, s.cy) << "fitted, icon";
    s = HintSize(text, 0, false);
    EXPECT_EQ(50, s.cx) << "fitted, no icon";
    EXPECT_EQ(22, s.cy);
    for (bool icon : {true, false}) {
        s = HintSize(pixel_size_t{300, 20}, 120, icon);
        EXPECT_EQ(120, s.cx) << "fixed width, icon " << icon;
        EXPECT_EQ(30, s.cy) << "height follows the text, icon " << icon;
    }
    EXPECT_EQ(-5, HintSize(text, -5, true).cx) << "a negative width is kept as set";
}

TEST(HintPositionRule, EveryModeAndAnUnknownOne)
{
    pixel_rect_t r = Rect(100, 50, 401, 251);  // 301 x 201
    pixel_size_t s{51, 21};
    struct Case { int pos; int left; int top; } cases[] = {
        {0, 100, 50}, {1, 250 - 25, 50}, {2, 401 - 51, 50}, {3, 250 - 25, 150 - 10}, {4, 0, 0}, {5, 0, 0}, {-1, 0, 0},
    };
    for (const Case& c : cases) {
        pixel_point_t p = HintPosition(c.pos, r, s);
        EXPECT_EQ(c.left, p.x) << "mode " << c.pos;
        EXPECT_EQ(c.top, p.y) << "mode " << c.pos;
    }
    // Halves drop their remainder toward zero, also for negative sums.
    pixel_point_t p = HintPosition(3, Rect(0, 0, 301, 100), pixel_size_t{51, 20});
    EXPECT_EQ(125, p.x) << "301 wide at 0: centre 150, minus 25";
    p = HintPosition(1, Rect(-301, 0, 0, 10), pixel_size_t{51, 20});
    EXPECT_EQ(-150 - 25, p.x) << "negative centre";
}

TEST(WorkAreaClamp, EachEdgeAndAnOversizedHint)
{
    pixel_rect_t work = Rect(0, 30, 1280, 770);  // a task bar on top and one at the bottom
    pixel_size_t s{60, 22};
    struct Case { const char* name; pixel_point_t in; pixel_point_t out; } cases[] = {
        {"inside", {100, 100}, {100, 100}},
        {"under the top bar", {100, 0}, {100, 30}},
        {"over the bottom", {100, 760}, {100, 770 - 22}},
        {"past the right", {1250, 100}, {1280 - 60, 100}},
        {"left of the screen", {-40, 100}, {0, 100}},
        {"bottom-right corner", {1279, 799}, {1220, 748}},
    };
    for (const Case& c : cases) {
        pixel_point_t p = KeepInWorkArea(c.in, s, work);
        EXPECT_EQ(c.out.x, p.x) << c.name;
        EXPECT_EQ(c.out.y, p.y) << c.name;
    }
    pixel_point_t p = KeepInWorkArea(pixel_point_t{500, 500}, pixel_size_t{2000, 1000}, work);
    EXPECT_EQ(0, p.x) << "larger than the work area: its upper-left corner";
    EXPECT_EQ(30, p.y) << "larger than the work area: its upper-left corner";
    // A monitor left of the primary one: mode 4's origin ends at its upper-right corner.
    p = KeepInWorkArea(pixel_point_t{0, 0}, s, Rect(-1024, 0, 0, 768));
    EXPECT_EQ(-60, p.x);
    EXPECT_EQ(0, p.y);
}

TEST(Collision, TouchingEdgesCollideAndAGapDoesNot)
{
    hint_box_t a{0, 0, 50, 20};
    EXPECT_TRUE(BoxesCollide(a, hint_box_t{20, 0, 50, 20})) << "top on bottom";
    EXPECT_TRUE(BoxesCollide(a, hint_box_t{0, 50, 50, 20})) << "left on right";
    EXPECT_FALSE(BoxesCollide(a, hint_box_t{21, 0, 50, 20})) << "one pixel below";
    EXPECT_FALSE(BoxesCollide(a, hint_box_t{0, 51, 50, 20})) << "one pixel right";
    EXPECT_FALSE(BoxesCollide(a, hint_box_t{0, 10, -5, 20})) << "a negative width is an empty range";
}

TEST(NoOverlap, TwoHintsOnOneCornerAndModeFourStacking)
{
    std::vector<hint_box_t> two = {{100, 100, 40, 22}, {100, 100, 60, 22}};
    NoOverlapPass(two);
    EXPECT_EQ(100 + 22 + 2, two[0].top) << "the first in list order moves below the second";
    EXPECT_EQ(100, two[1].top) << "the second stays";

    std::vector<hint_box_t> stack(5, hint_box_t{0, 0, 30, 22});
    NoOverlapPass(stack);
    EXPECT_EQ(0, stack[4].top) << "the last stays at the corner";
    for (int i = 0; i < 4; ++i) EXPECT_EQ((i + 1) * 24, stack[i].top) << "row of hint " << i;
}

TEST(NoOverlap, FastPassMatchesTheStepRuleAndLeavesNoCollision)
{
    srand(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<hint_box_t> boxes(1 + rand() % 40);
        int spread = 20 + rand() % 400;
        for (hint_box_t& b : boxes) b = {rand() % spread, rand() % spread, 5 + rand() % 80, 12 + rand() % 20};
        std::vector<hint_box_t> slow = boxes;
        SlowPass(slow);
        NoOverlapPass(boxes);
        for (size_t i = 0; i < boxes.size(); ++i) {
            ASSERT_EQ(slow[i].top, boxes[i].top) << "round " << round << " box " << i;
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                ASSERT_FALSE(BoxesCollide(boxes[i], boxes[j])) << "round " << round << " boxes " << i << "," << j;
            }
        }
    }
}
