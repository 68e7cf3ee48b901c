// Placement arithmetic on any ints: HintSize, HintPosition and KeepInWorkArea (and
// the dialogs' CentreOn) never overflow, agree with 64-bit arithmetic wherever that
// fits an int, and leave a hint that fits inside the work area.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "dialogs/dialog_rules.h"
#include "fuzz/fuzz_check.h"
#include "hint/hint_rules.h"

namespace {

bool FitsInt(long long v) { return v >= INT_MIN && v <= INT_MAX; }

// Mostly screen-sized numbers, now and then anything an int holds.
int Coordinate(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return in.ConsumeBool() ? INT_MAX - in.ConsumeIntegralInRange<int>(0, 4096)
                                    : INT_MIN + in.ConsumeIntegralInRange<int>(0, 4096);
    default: return in.ConsumeIntegralInRange<int>(-5000, 5000);
    }
}

pixel_rect_t Rect(FuzzedDataProvider& in)
{
    pixel_rect_t r;
    r.left = Coordinate(in);
    r.top = Coordinate(in);
    r.right = Coordinate(in);
    r.bottom = Coordinate(in);
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const pixel_size_t text{Coordinate(in), Coordinate(in)};
    const int width = in.ConsumeBool() ? 0 : Coordinate(in);
    const bool icon = in.ConsumeBool();
    const int pos = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(-1, 5) : in.ConsumeIntegral<int>();
    const pixel_rect_t target = Rect(in);
    const pixel_rect_t work = Rect(in);

    // Never wider than the work area: the width the plug-in passes is the area's own.
    const int maxWidth = in.ConsumeBool() ? INT_MAX : Coordinate(in);
    const unsigned dpi = in.ConsumeIntegralInRange<unsigned>(96, 288);  // 100% to 300%
    const hint_metrics_t m = HintMetricsAt(dpi, ScaledToDpi(16, dpi));
    const pixel_size_t hint = HintSize(text, width, icon, maxWidth, m);
    // A width below 1 fits the text, as 0 does; a fixed one is given at 96 dpi.
    const long long wideCx = width > 0 ? (width * static_cast<long long>(dpi) + 48) / 96
                                       : text.cx + 2LL * m.margin + (icon ? m.textXWithIcon - m.margin : 0);
    if (FitsInt(wideCx)) FUZZ_CHECK(hint.cx == std::max(0LL, std::min<long long>(wideCx, maxWidth)));
    FUZZ_CHECK(hint.cx >= 0 && hint.cx <= std::max(0, maxWidth));
    if (FitsInt(text.cy + 2LL * m.margin)) FUZZ_CHECK(hint.cy == text.cy + 2 * m.margin);

    const pixel_point_t corner = HintPosition(pos, target, hint);
    const long long centreX = (static_cast<long long>(target.left) + target.right) / 2 - hint.cx / 2;
    const long long centreY = (static_cast<long long>(target.top) + target.bottom) / 2 - hint.cy / 2;
    long long x = 0, y = 0;
    switch (pos) {
    case 0: x = target.left; y = target.top; break;
    case 1: x = centreX; y = target.top; break;
    case 2: x = static_cast<long long>(target.right) - hint.cx; y = target.top; break;
    case 3: x = centreX; y = centreY; break;
    default: break;
    }
    if (FitsInt(x)) FUZZ_CHECK(corner.x == x);
    if (FitsInt(y)) FUZZ_CHECK(corner.y == y);

    const pixel_point_t placed = KeepInWorkArea(corner, hint, work);
    const long long areaWidth = static_cast<long long>(work.right) - work.left;
    const long long areaHeight = static_cast<long long>(work.bottom) - work.top;
    if (hint.cx >= 0 && hint.cx <= areaWidth) {
        FUZZ_CHECK(placed.x >= work.left && static_cast<long long>(placed.x) + hint.cx <= work.right);
        // A hint already inside stays where it is.
        if (corner.x >= work.left && static_cast<long long>(corner.x) + hint.cx <= work.right) FUZZ_CHECK(placed.x == corner.x);
    } else if (hint.cx > areaWidth) {
        FUZZ_CHECK(placed.x == work.left);  // too wide: the left edge wins
    }
    if (hint.cy >= 0 && hint.cy <= areaHeight) {
        FUZZ_CHECK(placed.y >= work.top && static_cast<long long>(placed.y) + hint.cy <= work.bottom);
        if (corner.y >= work.top && static_cast<long long>(corner.y) + hint.cy <= work.bottom) FUZZ_CHECK(placed.y == corner.y);
    } else if (hint.cy > areaHeight) {
        FUZZ_CHECK(placed.y == work.top);
    }

    const int boxWidth = Coordinate(in), boxHeight = Coordinate(in);
    const pixel_point_t centred = CentreOn(work, boxWidth, boxHeight);
    const long long cx = work.left + areaWidth / 2 - boxWidth / 2;
    const long long cy = work.top + areaHeight / 2 - boxHeight / 2;
    if (FitsInt(cx)) FUZZ_CHECK(centred.x == cx);
    if (FitsInt(cy)) FUZZ_CHECK(centred.y == cy);
    return 0;
}
