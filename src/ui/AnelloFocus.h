#pragma once
// The mark of the control that has the keyboard focus, in every window of the program:
// a ring around the control, drawn above it and its neighbours, mostly outside it: from
// the outside in, black, yellow, and black again just inside the control's edge, so that
// it shows on every window colour, black and white included, and on the control itself.

namespace AnelloFocus {

// From now on the ring follows the focus from control to control and from window to
// window, message boxes included. Calling it again does nothing.
void Segui();

// How far the ring reaches outside the control, and into it, in pixels.
constexpr int Fuori = 4;
constexpr int Dentro = 2;

} // namespace AnelloFocus
