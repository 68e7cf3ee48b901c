// The no-overlap pass: the fast pass gives the tops that the step rule gives, every
// step moves a hint at most (n - 1) times, and afterwards no two hints collide
// (unless one is stuck at the lowest top an int holds).
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "hint/hint_rules.h"

namespace {

constexpr size_t kMaxHints = 16;  // the step rule is n^3: keep executions fast

// Near one another most of the time, so that hints collide; now and then anything.
int Value(FuzzedDataProvider& in, int low, int high)
{
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: return in.ConsumeIntegral<int>();
    case 1: return INT_MAX - in.ConsumeIntegralInRange<int>(0, 64);
    default: return in.ConsumeIntegralInRange<int>(low, high);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    std::vector<hint_box_t> boxes(in.ConsumeIntegralInRange<size_t>(0, kMaxHints));
    for (hint_box_t& b : boxes) {
        b.top = Value(in, -100, 400);
        b.left = Value(in, -100, 400);
        b.width = Value(in, -5, 120);
        b.height = Value(in, -5, 60);
        b.dpi = in.ConsumeIntegralInRange<unsigned>(96, 288);  // 100% to 300%: the gap it keeps
    }
    const std::vector<hint_box_t> start = boxes;

    std::vector<hint_box_t> stepped = boxes;
    for (size_t a = 0; a < stepped.size(); ++a) {
        size_t moves = 0;
        while (AvoidOverlapStep(stepped, a)) {
            ++moves;
            FUZZ_CHECK(moves < stepped.size());  // each other hint pushes it at most once
        }
    }
    NoOverlapPass(boxes);

    for (size_t i = 0; i < boxes.size(); ++i) {
        FUZZ_CHECK(boxes[i].top == stepped[i].top);
        FUZZ_CHECK(boxes[i].top >= start[i].top);  // hints only move down
        FUZZ_CHECK(boxes[i].left == start[i].left && boxes[i].width == start[i].width &&
                   boxes[i].height == start[i].height);
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            if (boxes[i].top == INT_MAX || boxes[j].top == INT_MAX) continue;
            FUZZ_CHECK(!BoxesCollide(boxes[i], boxes[j]));
        }
    }
    return 0;
}
