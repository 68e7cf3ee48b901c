#pragma once
// A system function, or a table of them, looked up at first need and kept for the life of
// the process, which a test may stand in for. The code reads it through Get(); a test
// replaces it through Use(), which answers what it replaced, so the test can put it back.
// Each seam is one function that answers its Seam; that function's static is the only copy.
#include <utility>

template <typename T>
class Seam {
public:
    explicit Seam(T (*load)()) : m_value(load()) {}
    Seam(const Seam&) = delete;
    Seam& operator=(const Seam&) = delete;

    const T& Get() const { return m_value; }
    T Use(T replacement) { return std::exchange(m_value, replacement); }

private:
    T m_value;
};
