#include "hint/hint_rules.h"

#include <algorithm>
#include <cstring>

#include "support/lead_byte.h"

std::string ItemText(const char* i_field, size_t size)
{
    if (i_field == nullptr) return std::string();
    size_t n = strnlen(i_field, size);
    // A terminated text is taken as it is.
    if (n < size) return std::string(i_field, n);
    // Walk whole characters, so a lead byte whose trail byte lies past the end goes.
    size_t kept = 0;
    while (kept < n) {
        size_t step = IsLeadByte(static_cast<unsigned char>(i_field[kept])) ? 2 : 1;
        if (kept + step > n) break;
        kept += step;
    }
    return std::string(i_field, kept);
}

void BuildDisplayText(const std::string& i_title, int contents, char (&o_text)[kHintTextSize])
{
    size_t n = std::min(i_title.size(), kHintTextSize - 1);
    if (contents == 0 && n > 0) {
        bool lead = IsLeadByte(static_cast<unsigned char>(i_title[0]));
        // A lead byte with no trail byte is still the first byte: it is shown alone.
        n = lead && n >= 2 ? 2 : 1;
    }
    memcpy(o_text, i_title.data(), n);
    o_text[n] = '\0';
}

int ScaledToDpi(int pixels, unsigned dpi)
{
    // |pixels| * dpi stays below 2^63: no overflow in 64 bits.
    long long product = static_cast<long long>(pixels) * dpi;
    long long half = kHintDesignDpi / 2;
    return ClampToInt(product >= 0 ? (product + half) / kHintDesignDpi : -((half - product) / kHintDesignDpi));
}

hint_metrics_t HintMetricsAt(unsigned dpi, int smallIconSize)
{
    hint_metrics_t m;
    m.dpi = dpi;
    m.margin = ScaledToDpi(kHintTextMargin, dpi);
    m.iconSize = smallIconSize;
    m.textXWithIcon = ClampToInt(static_cast<long long>(ScaledToDpi(kHintIconX, dpi)) + smallIconSize +
                                 ScaledToDpi(kHintIconRoom - kHintIconSize, dpi));
    return m;
}

pixel_size_t HintSize(pixel_size_t text, int widthSetting, bool showIcon, int maxWidth, const hint_metrics_t& m)
{
    pixel_size_t size;
    long long margins = 2LL * m.margin;
    if (widthSetting > 0) size.cx = ScaledToDpi(widthSetting, m.dpi);
    else size.cx = ClampToInt(text.cx + margins + (showIcon ? static_cast<long long>(m.textXWithIcon) - m.margin : 0));
    size.cx = std::max(0, std::min(size.cx, maxWidth));
    size.cy = ClampToInt(text.cy + margins);
    return size;
}

pixel_point_t HintPosition(int pos, const pixel_rect_t& r, pixel_size_t size)
{
    // Sums of two ints need 64 bits; a corner beyond int range saturates.
    int centreX = ClampToInt((static_cast<long long>(r.left) + r.right) / 2 - size.cx / 2);
    switch (pos) {
    case 0: return pixel_point_t{r.left, r.top};
    case 1: return pixel_point_t{centreX, r.top};
    case 2: return pixel_point_t{ClampToInt(static_cast<long long>(r.right) - size.cx), r.top};
    case 3: return pixel_point_t{centreX, ClampToInt((static_cast<long long>(r.top) + r.bottom) / 2 - size.cy / 2)};
    default: return pixel_point_t{0, 0};  // mode 4, and any unknown mode: the screen origin
    }
}

namespace {

// One axis of the clamp: the far edge first, so a range longer than [lo, hi] starts at lo.
int ClampRange(int pos, int length, int lo, int hi)
{
    // Sums of two ints need 64 bits; only a negative length can leave int range.
    long long at = pos;
    if (at + length > hi) at = static_cast<long long>(hi) - length;
    if (at < lo) at = lo;
    return ClampToInt(at);
}

}  // namespace

pixel_rect_t VisibleTargetRect(const pixel_rect_t& window, const pixel_rect_t* frame)
{
    if (frame == nullptr || frame->left >= frame->right || frame->top >= frame->bottom) return window;
    bool inside = frame->left >= window.left && frame->top >= window.top && frame->right <= window.right &&
                  frame->bottom <= window.bottom;
    return inside ? *frame : window;
}

pixel_rect_t RestoredScreenRect(const pixel_rect_t& normal, bool inWorkspace, bool restoresMaximized,
                                const pixel_rect_t& primaryWork, const pixel_rect_t& ownWork)
{
    if (restoresMaximized) return ownWork;
    if (!inWorkspace) return normal;
    long long dx = primaryWork.left;
    long long dy = primaryWork.top;
    return pixel_rect_t{ClampToInt(normal.left + dx), ClampToInt(normal.top + dy), ClampToInt(normal.right + dx),
                        ClampToInt(normal.bottom + dy)};
}

pixel_point_t KeepInWorkArea(pixel_point_t corner, pixel_size_t size, const pixel_rect_t& work)
{
    return pixel_point_t{ClampRange(corner.x, size.cx, work.left, work.right),
                         ClampRange(corner.y, size.cy, work.top, work.bottom)};
}

namespace {

// Closed ranges [a, a + la] and [b, b + lb] share a point; a negative length is an empty range.
bool RangesMeet(long long a, long long la, long long b, long long lb)
{
    return std::max(a, b) <= std::min(a + la, b + lb);
}

bool Across(const hint_box_t& a, const hint_box_t& b) { return RangesMeet(a.left, a.width, b.left, b.width); }
bool Along(const hint_box_t& a, const hint_box_t& b) { return RangesMeet(a.top, a.height, b.top, b.height); }

// The gap a box keeps to one it was pushed past, at its own DPI.
int Gap(const hint_box_t& a) { return ScaledToDpi(kHintOverlapGap, a.dpi); }

// The top of a row for a below b. A collision means b ends at or below the colliding
// top, so this is lower; it saturates at INT_MAX, where the pushing stops.
int Below(const hint_box_t& b, const hint_box_t& a)
{
    return ClampToInt(static_cast<long long>(b.top) + b.height + Gap(a));
}

}  // namespace

bool BoxesCollide(const hint_box_t& a, const hint_box_t& b) { return Across(a, b) && Along(a, b); }

bool AvoidOverlapStep(std::vector<hint_box_t>& boxes, size_t a)
{
    for (size_t b = 0; b < boxes.size(); ++b) {
        if (b == a || !BoxesCollide(boxes[a], boxes[b])) continue;
        int top = Below(boxes[b], boxes[a]);
        if (top == boxes[a].top) return false;  // already at the lowest top an int holds
        boxes[a].top = top;
        return true;
    }
    return false;
}

namespace {

// Working room of the turns, kept across them so a pass allocates once.
struct turn_scratch_t {
    std::vector<size_t> rivals;
    std::vector<size_t> next;
    // Every box by its top, lowest on the screen first; made at a pass's first upward
    // stacking and kept in step after every turn from then on.
    std::vector<size_t> byTop;
};

// The step rule's turn for boxes[a]: below the first rival in list order that it meets,
// again and again, until it meets none.
void PushDown(std::vector<hint_box_t>& boxes, size_t a, turn_scratch_t& scratch)
{
    hint_box_t& box = boxes[a];
    // Left edges and widths never change in the pass: only boxes across from this one
    // can ever stop it, and they keep their list order.
    std::vector<size_t>& rivals = scratch.rivals;
    rivals.clear();
    for (size_t b = 0; b < boxes.size(); ++b) {
        if (b != a && Across(box, boxes[b])) rivals.push_back(b);
    }
    // The rivals as a list threaded through `next` in list order, n its head and its end,
    // so one done with leaves at once and the walk after a move skips it.
    const size_t n = rivals.size();
    std::vector<size_t>& next = scratch.next;
    next.resize(n + 1);
    for (size_t i = 0; i < n; ++i) next[i] = i + 1;
    next[n] = 0;
    bool moved = true;
    while (moved) {
        moved = false;
        for (size_t prev = n, i = next[n]; i != n; i = next[i]) {
            const hint_box_t& other = boxes[rivals[i]];
            // This box only moves down, so a rival that ends above its top is done with.
            if (static_cast<long long>(other.top) + other.height < box.top) {
                next[prev] = next[i];
                continue;
            }
            if (Along(box, other)) {
                int top = Below(other, box);
                moved = top != box.top;  // false once the top can go no lower in an int
                box.top = top;
                break;
            }
            prev = i;
        }
    }
}

bool LowerTop(const std::vector<hint_box_t>& boxes, size_t x, size_t y) { return boxes[x].top > boxes[y].top; }

void SortByTop(const std::vector<hint_box_t>& boxes, std::vector<size_t>& o_byTop)
{
    o_byTop.resize(boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) o_byTop[i] = i;
    std::sort(o_byTop.begin(), o_byTop.end(), [&boxes](size_t x, size_t y) { return LowerTop(boxes, x, y); });
}

// Box a moved: to its new place in the order.
void Reposition(const std::vector<hint_box_t>& boxes, std::vector<size_t>& byTop, size_t a)
{
    byTop.erase(std::find(byTop.begin(), byTop.end(), a));
    auto at = std::lower_bound(byTop.begin(), byTop.end(), a,
                               [&boxes](size_t x, size_t y) { return LowerTop(boxes, x, y); });
    byTop.insert(at, a);
}

// PushDown's mirror from the bottom of the area: above the lowest-starting box that it
// meets, again and again, until it meets none. False when that would cross the area's
// top. byTop orders every box but this one by its top.
bool PushUp(std::vector<hint_box_t>& boxes, size_t a, const pixel_rect_t& work, const std::vector<size_t>& byTop)
{
    hint_box_t& box = boxes[a];
    box.top = ClampToInt(static_cast<long long>(work.bottom) - box.height);
    if (box.top < work.top) return false;
    // Lowest top first: once above a box, this one is clear of every box taken before
    // it (they start lower still), so one sweep finds the place.
    for (size_t b : byTop) {
        if (b == a || !BoxesCollide(box, boxes[b])) continue;
        box.top = ClampToInt(static_cast<long long>(boxes[b].top) - box.height - Gap(box));
        if (box.top < work.top) return false;
    }
    return true;
}

// One turn held inside the area: the step rule's turn, redone only when it leaves.
void HeldTurn(std::vector<hint_box_t>& boxes, size_t a, const pixel_rect_t& work, turn_scratch_t& scratch)
{
    hint_box_t& box = boxes[a];
    int start = box.top;
    PushDown(boxes, a, scratch);
    if (BoxInWorkArea(box, work)) return;
    // Only a box that did not start inside has another start to try.
    int inside = ClampRange(start, box.height, work.top, work.bottom);
    if (inside != start) {
        box.top = inside;
        PushDown(boxes, a, scratch);
        if (BoxInWorkArea(box, work)) return;
    }
    if (scratch.byTop.empty()) SortByTop(boxes, scratch.byTop);
    if (PushUp(boxes, a, work, scratch.byTop)) return;
    // No room in its column: overlap cannot be helped; it stays where it was put.
    box.top = inside;
}

void HoldLeftEdgesInside(std::vector<hint_box_t>& boxes, const std::vector<pixel_rect_t>& works)
{
    for (size_t i = 0; i < boxes.size(); ++i) {
        boxes[i].left = ClampRange(boxes[i].left, boxes[i].width, works[i].left, works[i].right);
    }
}

}  // namespace

void NoOverlapPass(std::vector<hint_box_t>& boxes)
{
    turn_scratch_t scratch;
    for (size_t a = 0; a < boxes.size(); ++a) PushDown(boxes, a, scratch);
}

bool BoxInWorkArea(const hint_box_t& box, const pixel_rect_t& work)
{
    return ClampRange(box.left, box.width, work.left, work.right) == box.left &&
           ClampRange(box.top, box.height, work.top, work.bottom) == box.top;
}

void NoOverlapInWorkAreas(std::vector<hint_box_t>& boxes, const std::vector<pixel_rect_t>& works)
{
    HoldLeftEdgesInside(boxes, works);
    turn_scratch_t scratch;
    for (size_t a = 0; a < boxes.size(); ++a) {
        HeldTurn(boxes, a, works[a], scratch);
        if (!scratch.byTop.empty()) Reposition(boxes, scratch.byTop, a);
    }
}

bool EveryColumnHasRoom(const std::vector<hint_box_t>& boxes, const std::vector<pixel_rect_t>& works)
{
    std::vector<hint_box_t> held = boxes;
    HoldLeftEdgesInside(held, works);
    for (size_t a = 0; a < held.size(); ++a) {
        long long need = held[a].height;
        for (size_t b = 0; b < held.size(); ++b) {
            if (b == a || !Across(held[a], held[b])) continue;
            need += static_cast<long long>(held[b].height) + held[a].height + Gap(held[a]);
        }
        if (need > static_cast<long long>(works[a].bottom) - works[a].top) return false;
    }
    return true;
}
