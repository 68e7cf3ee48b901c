// The no-overlap pass held in the work areas, on hints as placement leaves them (each
// inside its own monitor's work area): every hint ends inside its area; wherever the
// plain pass already keeps them all inside, the result is the plain pass's; and when
// every column has room, no two hints collide.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "hint/hint_rules.h"

namespace {

constexpr size_t kMaxHints = 16;

pixel_rect_t WorkArea(FuzzedDataProvider& in, int left)
{
    const int top = in.ConsumeIntegralInRange<int>(-200, 200);
    return pixel_rect_t{left, top, left + in.ConsumeIntegralInRange<int>(0, 800),
                        top + in.ConsumeIntegralInRange<int>(0, 600)};
}

bool Same(const std::vector<hint_box_t>& a, const std::vector<hint_box_t>& b)
{
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].top != b[i].top || a[i].left != b[i].left) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // One to three monitors side by side, each with a work area of its own.
    std::vector<pixel_rect_t> monitors;
    const size_t count = in.ConsumeIntegralInRange<size_t>(1, 3);
    for (size_t m = 0; m < count; ++m) monitors.push_back(WorkArea(in, static_cast<int>(m) * 1000 - 1000));

    std::vector<hint_box_t> boxes(in.ConsumeIntegralInRange<size_t>(0, kMaxHints));
    std::vector<pixel_rect_t> works;
    for (hint_box_t& b : boxes) {
        const pixel_rect_t& work = monitors[in.ConsumeIntegralInRange<size_t>(0, monitors.size() - 1)];
        b.width = in.ConsumeIntegralInRange<int>(0, 300);
        b.height = in.ConsumeIntegralInRange<int>(0, 60);
        b.dpi = in.ConsumeIntegralInRange<unsigned>(96, 288);  // 100% to 300%
        // Mostly crowded near the bottom, where the plain pass leaves the area.
        pixel_point_t wanted{in.ConsumeIntegralInRange<int>(work.left - 50, work.right + 50),
                             in.ConsumeIntegralInRange<int>(work.bottom - 150, work.bottom + 50)};
        if (in.ConsumeBool()) wanted.y = in.ConsumeIntegralInRange<int>(work.top - 50, work.bottom + 50);
        pixel_point_t placed = KeepInWorkArea(wanted, pixel_size_t{b.width, b.height}, work);
        b.left = placed.x;
        b.top = placed.y;
        works.push_back(work);
    }

    std::vector<hint_box_t> plain = boxes;
    NoOverlapPass(plain);
    bool plainInside = true;
    for (size_t i = 0; i < plain.size(); ++i) plainInside = plainInside && BoxInWorkArea(plain[i], works[i]);

    std::vector<hint_box_t> held = boxes;
    NoOverlapInWorkAreas(held, works);
    for (size_t i = 0; i < held.size(); ++i) {
        FUZZ_CHECK(BoxInWorkArea(held[i], works[i]));
        FUZZ_CHECK(held[i].width == boxes[i].width && held[i].height == boxes[i].height);
    }
    if (plainInside) FUZZ_CHECK(Same(held, plain));
    if (EveryColumnHasRoom(boxes, works)) {
        for (size_t i = 0; i < held.size(); ++i)
            for (size_t j = i + 1; j < held.size(); ++j) FUZZ_CHECK(!BoxesCollide(held[i], held[j]));
    }
    return 0;
}
