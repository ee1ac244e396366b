#pragma once
// The mark of the control that has the keyboard focus, in every window of the program:
// a ring around the control, outside it, drawn above its neighbours, black, yellow and
// black again, so that it shows on every window colour, black and white included, and
// leaves the control itself as it is drawn.

namespace AnelloFocus {

// From now on the ring follows the focus from control to control and from window to
// window, message boxes included. Calling it again does nothing.
void Segui();

// How far the ring reaches outside the control, in pixels.
constexpr int Spessore = 4;

} // namespace AnelloFocus
