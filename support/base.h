#pragma once
// Common root of the support classes: only a virtual destructor, so an object can
// be destroyed through a pointer to its base.
class Base {
public:
    virtual ~Base() = default;
};
