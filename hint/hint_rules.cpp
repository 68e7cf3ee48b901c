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

pixel_size_t HintSize(pixel_size_t text, int widthSetting, bool showIcon)
{
    pixel_size_t size;
    if (widthSetting != 0) size.cx = widthSetting;
    else size.cx = ClampToInt(static_cast<long long>(text.cx) + 2 * kHintTextMargin + (showIcon ? kHintIconRoom : 0));
    size.cy = ClampToInt(static_cast<long long>(text.cy) + 2 * kHintTextMargin);
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

pixel_point_t KeepInWorkArea(pixel_point_t corner, pixel_size_t size, const pixel_rect_t& work)
{
    long long y = corner.y, x = corner.x;
    if (y + size.cy > work.bottom) y = static_cast<long long>(work.bottom) - size.cy;
    if (x + size.cx > work.right) x = static_cast<long long>(work.right) - size.cx;
    if (y < work.top) y = work.top;
    if (x < work.left) x = work.left;
    // Only a negative size can leave int range here.
    return pixel_point_t{ClampToInt(x), ClampToInt(y)};
}

namespace {

// Closed ranges [a, a + la] and [b, b + lb] share a point; a negative length is an empty range.
bool RangesMeet(long long a, long long la, long long b, long long lb)
{
    return std::max(a, b) <= std::min(a + la, b + lb);
}

bool Across(const hint_box_t& a, const hint_box_t& b) { return RangesMeet(a.left, a.width, b.left, b.width); }
bool Along(const hint_box_t& a, const hint_box_t& b) { return RangesMeet(a.top, a.height, b.top, b.height); }

// The top of a row below b. A collision means b ends at or below the colliding
// top, so this is lower; it saturates at INT_MAX, where the pushing stops.
int Below(const hint_box_t& b) { return ClampToInt(static_cast<long long>(b.top) + b.height + kHintOverlapGap); }

}  // namespace

bool BoxesCollide(const hint_box_t& a, const hint_box_t& b) { return Across(a, b) && Along(a, b); }

bool AvoidOverlapStep(std::vector<hint_box_t>& boxes, size_t a)
{
    for (size_t b = 0; b < boxes.size(); ++b) {
        if (b == a || !BoxesCollide(boxes[a], boxes[b])) continue;
        int top = Below(boxes[b]);
        if (top == boxes[a].top) return false;  // already at the lowest top an int holds
        boxes[a].top = top;
        return true;
    }
    return false;
}

void NoOverlapPass(std::vector<hint_box_t>& boxes)
{
    std::vector<size_t> rivals;
    for (size_t a = 0; a < boxes.size(); ++a) {
        hint_box_t& box = boxes[a];
        // Left edges and widths never change in the pass: only boxes across from this
        // one can ever stop it, and they keep their list order.
        rivals.clear();
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (b != a && Across(box, boxes[b])) rivals.push_back(b);
        }
        bool moved = true;
        while (moved) {
            moved = false;
            size_t keep = 0;
            for (size_t i = 0; i < rivals.size(); ++i) {
                const hint_box_t& other = boxes[rivals[i]];
                // This box only moves down, so a rival that ends above its top is done with.
                if (static_cast<long long>(other.top) + other.height < box.top) continue;
                if (Along(box, other)) {
                    int top = Below(other);
                    moved = top != box.top;
                    box.top = top;
                    // Rivals after this one were not looked at yet: keep them all.
                    size_t rest = rivals.size() - i;
                    std::copy(rivals.begin() + i, rivals.end(), rivals.begin() + keep);
                    keep += rest;
                    break;
                }
                rivals[keep++] = rivals[i];
            }
            rivals.resize(keep);
        }
    }
}
