#pragma once
// The hint rules as plain arithmetic, with no window in sight: the text a hint
// shows, its size and place, the work-area clamp, and the no-overlap pass.
#include <cstddef>
#include <string>
#include <vector>

#include "support/geometry.h"

constexpr int kHintTextMargin = 5;   // text drawn at (5, 5)
constexpr int kHintIconX = 5;
constexpr int kHintIconSize = 16;
constexpr int kHintIconRoom = 18;    // a 16-pixel icon and a 2-pixel gap
constexpr int kHintOverlapGap = 2;   // rows of pushed hints stand 2 pixels apart
constexpr size_t kHintTextSize = 1024;
// The DPI the sizes above are given at (100%); a hint at another DPI scales them by dpi / 96.
constexpr unsigned kHintDesignDpi = 96;

// A length given at 96 DPI, at dpi, rounded to the nearest pixel (halves away from zero, as
// MulDiv rounds). Every fixed size of the hint, its rounded corner too, is scaled by it.
int ScaledToDpi(int pixels, unsigned dpi);

// A hint's fixed sizes at one DPI: margins and gaps scaled, the icon as large as the
// system's small icon at that DPI.
struct hint_metrics_t {
    unsigned dpi;
    int margin;         // between the edge and the text on each side; the icon's x too
    int iconSize;
    int textXWithIcon;  // the icon, then a gap
};
hint_metrics_t HintMetricsAt(unsigned dpi, int smallIconSize);

// The item text of a host record whose field may lack its terminator: a terminated
// text whole; else `size` bytes, less a double-byte character cut by the field's end.
std::string ItemText(const char* i_field, size_t size);

// The display text: the whole title when contents != 0, else its first character,
// which is two bytes when it is a double-byte character (a lone lead byte is one).
void BuildDisplayText(const std::string& i_title, int contents, char (&o_text)[kHintTextSize]);

// Width and height from the measured text: a fixed width (above 0, given at 96 DPI)
// wins; 0 or less fits the text and makes room for the icon. Never wider than maxWidth
// (the work area's width), so an absurd Width from the file cannot make a screen-wide bar.
pixel_size_t HintSize(pixel_size_t text, int widthSetting, bool showIcon, int maxWidth, const hint_metrics_t& metrics);

// The position modes are 0 to this; the file may hold any other, which places as this does.
constexpr int kLastHintPosition = 4;

// Upper-left corner by position mode (0-4; any other value is the origin).
pixel_point_t HintPosition(int pos, const pixel_rect_t& target, pixel_size_t size);

// The rectangle a hint is placed from: the visible frame when the desktop reports a
// non-empty one inside the window rectangle (it leaves out the invisible resize
// borders); else the window rectangle. A frame outside it is in other units (physical
// pixels in a host that is not DPI-aware) and is not used. frame may be null.
pixel_rect_t VisibleTargetRect(const pixel_rect_t& window, const pixel_rect_t* frame);

// Where a minimized window stands once restored, in screen coordinates. `normal` is its
// restored rectangle as its placement record gives it: in workspace coordinates
// (counted from the primary monitor's work area, whose monitor starts at 0, 0) unless
// the window is a tool window. A window that restores to maximized fills ownWork, the
// work area of its own monitor.
pixel_rect_t RestoredScreenRect(const pixel_rect_t& normal, bool inWorkspace, bool restoresMaximized,
                                const pixel_rect_t& primaryWork, const pixel_rect_t& ownWork);

// Keeps a hint of `size` inside the work area: bottom, right, top, left in that
// order, so a hint larger than the area sits at its upper-left corner.
pixel_point_t KeepInWorkArea(pixel_point_t corner, pixel_size_t size, const pixel_rect_t& work);

struct hint_box_t {
    int top;
    int left;
    int width;
    int height;
    unsigned dpi = kHintDesignDpi;  // of its monitor: a box pushed below another stands the gap at it apart
};

// Closed ranges on both axes share a point: touching edges collide.
bool BoxesCollide(const hint_box_t& a, const hint_box_t& b);

// One step for boxes[a]: below the first other box (in order) that it collides
// with, the gap at boxes[a]'s DPI apart. True when it moved; a top already at INT_MAX cannot move further, so the
// pushing ends there even if a collision is left.
bool AvoidOverlapStep(std::vector<hint_box_t>& boxes, size_t a);

// The whole pass: every box in order, stepped until it no longer moves. Gives the
// same tops as repeating AvoidOverlapStep, in about n^2 rather than n^3 time.
void NoOverlapPass(std::vector<hint_box_t>& boxes);

// Where KeepInWorkArea leaves it: wholly inside, or on the upper-left corner of an
// area smaller than the box.
bool BoxInWorkArea(const hint_box_t& box, const pixel_rect_t& work);

// The pass held inside work areas; works[i] (one per box) is the area box i was
// placed in. Left edges are first held inside their areas (placement already did
// that). Then each box in order takes its NoOverlapPass turn; only a turn that ends
// outside its area is redone: from its old top held inside, pushed down again;
// failing that, stacked upward from the area's bottom (above the lowest-starting box
// it meets there, again and again); failing that too (no room in its column), it
// stays at its old top held inside and overlaps. So every box ends in its area
// (BoxInWorkArea), the result equals NoOverlapPass whenever that one keeps every box
// inside, and no two collide when EveryColumnHasRoom. Widths and heights never
// change. Sound input: sizes 0 to 65536, edges within +-2^20, at most 4096 boxes,
// areas with left <= right and top <= bottom.
void NoOverlapInWorkAreas(std::vector<hint_box_t>& boxes, const std::vector<pixel_rect_t>& works);

// The room the upward stacking needs, for every box A (left edges held inside): A's
// height, plus for every other box B whose columns meet A's, B's height, A's height
// and the gap at A's DPI, is at most the height of A's area. Each such B can move A up
// by at most that much, once.
bool EveryColumnHasRoom(const std::vector<hint_box_t>& boxes, const std::vector<pixel_rect_t>& works);
