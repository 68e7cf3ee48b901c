// The hint rules without windows: display text, size, position, clamp, no-overlap.
#include <gtest/gtest.h>

#include <climits>
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
// Whole records as text, to compare and print them at once.
std::string Text(pixel_point_t p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string Text(pixel_size_t s) { return std::to_string(s.cx) + "x" + std::to_string(s.cy); }
std::string Text(pixel_rect_t r) { return Text(pixel_point_t{r.left, r.top}) + " - " + Text(pixel_point_t{r.right, r.bottom}); }
std::string Text(hint_box_t b) { return Text(pixel_point_t{b.left, b.top}) + " " + Text(pixel_size_t{b.width, b.height}); }

// The pass spelled out: each box stepped until it stops.
void SlowPass(std::vector<hint_box_t>& boxes)
{
    for (size_t a = 0; a < boxes.size(); ++a) while (AvoidOverlapStep(boxes, a)) {}
}

bool AnyCollide(const std::vector<hint_box_t>& boxes)
{
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            if (BoxesCollide(boxes[i], boxes[j])) return true;
    return false;
}

}  // namespace

TEST(DisplayText, FirstCharacterOrWholeText)
{
    EXPECT_EQ("S Seventh Seventh", Display("Seventh", 0) + " " + Display("Seventh", 1) + " " + Display("Seventh", 2))
        << "any non-zero Contents shows everything";
    EXPECT_EQ("", Display("", 0) + Display("", 1));
}

TEST(DisplayText, DoubleByteFirstCharacterIsShownWhole)
{
#ifdef _WIN32
    ASSERT_EQ(932u, GetACP()) << "double-byte rules need the Japanese code page (LANG=ja_JP.UTF-8)";
#endif
    const std::string memo = "\x83\x81\x83\x82\x92\xa0";  // メモ帳: a first character of two bytes
    EXPECT_EQ("\x83\x81|" + memo, Display(memo, 0) + "|" + Display(memo, 1));
    EXPECT_EQ("\xb1", Display("\xb1\xb2", 0)) << "a half-width katakana is one byte";
    EXPECT_EQ("\x83|\x83", Display("\x83", 0) + "|" + Display("\x83", 1)) << "a lone lead byte is still the first byte";
}

TEST(DisplayText, IsCutTo1023Bytes) { EXPECT_EQ(std::string(1023, 'a'), Display(std::string(2000, 'a'), 1)); }

TEST(ItemTextField, UnterminatedFieldIsCutAtItsEnd)
{
#ifdef _WIN32
    ASSERT_EQ(932u, GetACP()) << "double-byte rules need the Japanese code page (LANG=ja_JP.UTF-8)";
#endif
    const std::string a3 = "AAA", a4 = "AAAA", lead = "\x83";
    // A 256-byte field in a 260-byte record; bytes past the field are never zero.
    const struct { const char* name; std::string record; std::string text; } cases[] = {
        {"unterminated", std::string(260, 'A'), std::string(256, 'A')},
        {"terminated", std::string(10, 'A') + '\0' + std::string(249, 'A'), std::string(10, 'A')},
        {"a lead byte cut by the end is dropped", std::string(255, 'A') + lead + a4, std::string(255, 'A')},
        {"a whole last character", std::string(254, 'A') + "\x83\x81" + a4, std::string(254, 'A') + "\x83\x81"},
        {"terminated after a lead byte", a3 + lead + '\0' + std::string(255, 'A'), a3 + lead},
        {"terminated at the end after a lead byte", a3 + lead + std::string(250, 'A') + lead + '\0' + a4,
         a3 + lead + std::string(250, 'A') + lead},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, ItemText(c.record.data(), 256)) << c.name;
}

TEST(HintSizeRule, FittedAndFixedWidths)
{
    const int roomy = 1280;
    // A width from the file below 0 fits the text; none is wider than the work area.
    struct Case { const char* name; pixel_size_t text; int width; bool icon; int maxWidth; pixel_size_t out; } cases[] = {
        {"fitted, icon", {40, 12}, 0, true, roomy, {68, 22}},
        {"fitted, no icon", {40, 12}, 0, false, roomy, {50, 22}},
        {"fixed width, icon; height follows the text", {300, 20}, 120, true, roomy, {120, 30}},
        {"fixed width, no icon; height follows the text", {300, 20}, 120, false, roomy, {120, 30}},
        {"negative width fits the text", {40, 12}, -5, true, roomy, {68, 22}},
        {"most negative width", {40, 12}, INT_MIN, true, roomy, {68, 22}},
        {"huge width", {40, 12}, 100000, true, roomy, {roomy, 22}},
        {"largest width", {40, 12}, INT_MAX, true, roomy, {roomy, 22}},
        {"width of the work area exactly", {40, 12}, roomy, true, roomy, {roomy, 22}},
        {"fitted text wider than the work area", {5000, 12}, 0, true, roomy, {roomy, 22}},
        {"a narrow second monitor", {40, 12}, 900, true, 640, {640, 22}},
        {"an empty work area", {40, 12}, 120, true, 0, {0, 22}},
    };
    const hint_metrics_t at96 = HintMetricsAt(96, 16);
    for (const Case& c : cases) EXPECT_EQ(Text(c.out), Text(HintSize(c.text, c.width, c.icon, c.maxWidth, at96))) << c.name;
}

TEST(HintScale, MarginsIconRoomAndWidthFollowTheDpi)
{
    struct Case { unsigned dpi; int icon; std::string sizes; } cases[] = {
        {96, 16, "68x22 120"}, {120, 20, "75x24 150"}, {144, 24, "83x28 180"},
        {168, 28, "90x30 210"}, {192, 32, "96x32 240"}, {288, 48, "124x42 360"},
    };
    for (const Case& c : cases) {
        const hint_metrics_t m = HintMetricsAt(c.dpi, c.icon);
        EXPECT_EQ(c.sizes, Text(HintSize(pixel_size_t{40, 12}, 0, true, 5000, m)) + " " +
                               std::to_string(HintSize(pixel_size_t{40, 12}, 120, true, 5000, m).cx)) << c.dpi << " dpi";
    }
}

TEST(HintPositionRule, EveryModeAndAnUnknownOne)
{
    pixel_rect_t r = Rect(100, 50, 401, 251);  // 301 x 201
    pixel_size_t s{51, 21};
    struct Case { int pos; pixel_point_t out; } cases[] = {
        {0, {100, 50}}, {1, {250 - 25, 50}}, {2, {401 - 51, 50}}, {3, {250 - 25, 150 - 10}}, {4, {0, 0}}, {5, {0, 0}},
        {-1, {0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(c.out), Text(HintPosition(c.pos, r, s))) << "mode " << c.pos;
    // Halves drop their remainder toward zero, also for negative sums.
    EXPECT_EQ(125, HintPosition(3, Rect(0, 0, 301, 100), pixel_size_t{51, 20}).x) << "301 wide at 0: centre 150, minus 25";
    EXPECT_EQ(-150 - 25, HintPosition(1, Rect(-301, 0, 0, 10), pixel_size_t{51, 20}).x) << "negative centre";
}

TEST(WorkAreaClamp, EachEdgeAndAnOversizedHint)
{
    pixel_rect_t work = Rect(0, 30, 1280, 770);  // a task bar on top and one at the bottom
    pixel_size_t s{60, 22};
    struct Case { const char* name; pixel_point_t in; pixel_size_t size; pixel_rect_t work; pixel_point_t out; } cases[] = {
        {"inside", {100, 100}, s, work, {100, 100}},
        {"under the top bar", {100, 0}, s, work, {100, 30}},
        {"over the bottom", {100, 760}, s, work, {100, 770 - 22}},
        {"past the right", {1250, 100}, s, work, {1280 - 60, 100}},
        {"left of the screen", {-40, 100}, s, work, {0, 100}},
        {"bottom-right corner", {1279, 799}, s, work, {1220, 748}},
        {"larger than the work area: its upper-left corner", {500, 500}, {2000, 1000}, work, {0, 30}},
        // A monitor left of the primary one: mode 4's origin ends at its upper-right corner.
        {"monitor left of the primary one", {0, 0}, s, Rect(-1024, 0, 0, 768), {-60, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Text(c.out), Text(KeepInWorkArea(c.in, c.size, c.work))) << c.name;
}

TEST(TargetRectRule, VisibleFrameOnlyWhenInsideAndRestoredRectInScreenCoordinates)
{
    pixel_rect_t window = Rect(93, 100, 507, 407);  // 7-pixel invisible borders left, right, bottom
    pixel_rect_t frame = Rect(100, 100, 500, 400);
    pixel_rect_t physical = Rect(150, 150, 750, 600);  // the same frame at 144 dpi, host not DPI-aware
    pixel_rect_t empty = Rect(100, 100, 100, 400);
    struct FrameCase { const char* name; const pixel_rect_t* frame; pixel_rect_t out; } frames[] = {
        {"frame inside", &frame, frame}, {"no answer", nullptr, window},
        {"physical pixels", &physical, window}, {"empty frame", &empty, window},
    };
    for (const FrameCase& c : frames) EXPECT_EQ(Text(c.out), Text(VisibleTargetRect(window, c.frame))) << c.name;
    pixel_rect_t primaryWork = Rect(40, 30, 1280, 800);  // bars on the left and at the top
    pixel_rect_t ownWork = Rect(1280, 0, 2304, 740), normal = Rect(400, 300, 700, 500);
    struct RestoreCase { const char* name; bool workspace; bool maximized; pixel_rect_t out; } restores[] = {
        {"workspace coordinates", true, false, Rect(440, 330, 740, 530)},
        {"tool window: screen coordinates", false, false, Rect(400, 300, 700, 500)},
        {"restores to maximized", true, true, ownWork},
    };
    for (const RestoreCase& c : restores)
        EXPECT_EQ(Text(c.out), Text(RestoredScreenRect(normal, c.workspace, c.maximized, primaryWork, ownWork))) << c.name;
}

TEST(Collision, TouchingEdgesCollideAndAGapDoesNot)
{
    // Top on bottom, left on right; one pixel below, one pixel right, a negative width (an empty range).
    const struct { hint_box_t b; bool collide; } cases[] = {
        {{20, 0, 50, 20}, true}, {{0, 50, 50, 20}, true}, {{21, 0, 50, 20}, false}, {{0, 51, 50, 20}, false},
        {{0, 10, -5, 20}, false}};
    for (const auto& c : cases) EXPECT_EQ(c.collide, BoxesCollide(hint_box_t{0, 0, 50, 20}, c.b)) << Text(c.b);
}

TEST(NoOverlap, TwoHintsOnOneCornerAndModeFourStacking)
{
    std::vector<hint_box_t> two = {{100, 100, 40, 22}, {100, 100, 60, 22}};
    NoOverlapPass(two);
    EXPECT_EQ(std::to_string(100 + 22 + 2) + " 100", std::to_string(two[0].top) + " " + std::to_string(two[1].top))
        << "the first in list order moves below the second, which stays";

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
        for (size_t i = 0; i < boxes.size(); ++i) ASSERT_EQ(slow[i].top, boxes[i].top) << "round " << round << " box " << i;
        ASSERT_FALSE(AnyCollide(boxes)) << "round " << round;
    }
}

TEST(NoOverlap, InWorkAreasEqualsThePassWhereItFitsAndElseStaysInsideAndApartWithRoom)
{
    // Random monitors side by side (sometimes overlapping), hints placed in them, many
    // near the bottom; now and then a hint outside its area or larger than it.
    srand(11);
    int same = 0, mended = 0, mendedApart = 0, crowded = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<pixel_rect_t> areas(1 + rand() % 3);
        int x = rand() % 50 - 25;
        for (pixel_rect_t& w : areas) {
            int width = 60 + rand() % 300, height = 40 + rand() % 300, top = rand() % 60 - 30;
            w = Rect(x, top, x + width, top + height);
            x += width - rand() % 40;
        }
        size_t n = 1 + rand() % 14;
        std::vector<hint_box_t> boxes(n);
        std::vector<pixel_rect_t> works(n);
        for (size_t i = 0; i < n; ++i) {
            const pixel_rect_t& w = works[i] = areas[rand() % areas.size()];
            pixel_size_t size{rand() % 10 ? 5 + rand() % 80 : rand() % 500, rand() % 8 ? 12 + rand() % 20 : rand() % 400};
            int ww = w.right - w.left, wh = w.bottom - w.top;
            pixel_point_t at{w.left + rand() % (ww + 1), rand() % 2 ? w.bottom - rand() % 40 : w.top + rand() % (wh + 1)};
            if (rand() % 10) at = KeepInWorkArea(at, size, w);
            else at = pixel_point_t{at.x + rand() % 200 - 100, at.y + rand() % 400 - 200};
            boxes[i] = hint_box_t{at.y, at.x, size.cx, size.cy};
        }
        std::vector<hint_box_t> old = boxes, kept = boxes;
        SlowPass(old);
        NoOverlapInWorkAreas(kept, works);
        std::string where = "round " + std::to_string(round);
        bool oldInside = true;
        for (size_t i = 0; i < n; ++i) {
            ASSERT_TRUE(BoxInWorkArea(kept[i], works[i])) << where << " box " << i;
            ASSERT_EQ(Text(pixel_size_t{boxes[i].width, boxes[i].height}), Text(pixel_size_t{kept[i].width, kept[i].height}))
                << where;
            oldInside = oldInside && BoxInWorkArea(old[i], works[i]);
        }
        bool room = EveryColumnHasRoom(boxes, works);
        for (size_t i = 0; oldInside && i < n; ++i) ASSERT_EQ(Text(old[i]), Text(kept[i])) << where << " box " << i;
        if (room) { ASSERT_FALSE(AnyCollide(kept)) << where; }
        same += oldInside;
        mended += !oldInside;
        mendedApart += !oldInside && room;
        crowded += !room && AnyCollide(kept);
    }
    EXPECT_TRUE(same > 600 && mended > 2500 && mendedApart > 450 && crowded > 1200)
        << "every property met often enough to count: " << same << " " << mended << " " << mendedApart << " " << crowded;
}

TEST(NoOverlap, InWorkAreasStacksUpFromTheBottomAndStaysPutWithoutRoom)
{
    pixel_rect_t work = Rect(0, 30, 1280, 770);
    const int h = 22, row = h + kHintOverlapGap;
    // Five hints on one spot at the bottom: the last stays, the others stack upward
    // from the bottom in list order (the step rule would push them below the screen).
    std::vector<hint_box_t> five(5, hint_box_t{770 - h, 100, 40, h});
    NoOverlapInWorkAreas(five, std::vector<pixel_rect_t>(5, work));
    EXPECT_EQ(770 - h, five[4].top) << "the last stays at the bottom";
    for (int i = 0; i < 4; ++i) EXPECT_EQ(770 - (i + 2) * row + 2, five[i].top) << "row of hint " << i;
    // A column with room for three rows of 22 and two gaps (70 pixels): the first two
    // stack upward; the third and fourth find no room and stay where they were put, on
    // the last one.
    pixel_rect_t low = Rect(0, 0, 200, 70);
    std::vector<hint_box_t> crowd(5, hint_box_t{70 - h, 10, 40, h});
    NoOverlapInWorkAreas(crowd, std::vector<pixel_rect_t>(5, low));
    int expected[] = {70 - h - row, 70 - h - 2 * row, 70 - h, 70 - h, 70 - h};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(expected[i], crowd[i].top) << "hint " << i;
}
