#include "dialogs/form/form_rows.h"

#include <algorithm>

namespace form {

bool Inside(const Description& d, int row, int ancestor)
{
    for (int p = d.controls[row].parent; p >= 0; p = d.controls[p].parent)
        if (p == ancestor) return true;
    return false;
}

int PageOf(const Description& d, int row)
{
    for (size_t r = 0; r < d.count; ++r)
        if (d.controls[r].kind == Kind::Page && Inside(d, row, static_cast<int>(r))) return static_cast<int>(r);
    return -1;
}

std::vector<int> Children(const Description& d, int parent)
{
    std::vector<int> plain, tabbed, labels;
    for (size_t r = 0; r < d.count; ++r) {
        const Control& c = d.controls[r];
        if (c.parent != parent) continue;
        if (c.tab >= 0) tabbed.push_back(static_cast<int>(r));
        else if (c.focusTarget != kNoRow) labels.push_back(static_cast<int>(r));
        else plain.push_back(static_cast<int>(r));
    }
    std::stable_sort(tabbed.begin(), tabbed.end(),
                     [&d](int a, int b) { return d.controls[a].tab < d.controls[b].tab; });
    // A label's accelerator focuses the next tab stop, so the label goes right before its target.
    std::vector<int> order = plain;
    for (int t : tabbed) {
        for (int l : labels)
            if (d.controls[l].focusTarget == t) order.push_back(l);
        order.push_back(t);
    }
    for (int l : labels)
        if (std::find(order.begin(), order.end(), l) == order.end()) order.push_back(l);
    return order;
}

}  // namespace form
