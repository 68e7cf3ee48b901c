#pragma once
// One function of a seam's table stood in for, the others kept: answers the whole table it
// replaced, for the test to put back with seam.Use.
#include "support/seam.h"

template <typename T, typename F>
T StandIn(Seam<T>& seam, F T::*function, F standIn)
{
    T changed = seam.Get();
    changed.*function = standIn;
    return seam.Use(changed);
}
