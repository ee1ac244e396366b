#pragma once
// The arrow keys move the focus among some controls of one parent by where they stand: left
// and right within a row, up and down to the nearest one of the next row (the nearer column
// first, the left one of two as near). Only the controls that the caller's predicate names,
// enabled, shown and taking the focus from Tab, are reached.
#include <functional>

class QKeyEvent;
class QWidget;

namespace FrecceFocus {

using Insieme = std::function<bool(const QWidget*)>;

// Moves the focus from `da` as the key says, to a control of its parent in `insieme`. True
// when the key was an arrow (without Ctrl, Alt or Meta), whether or not the focus moved.
bool Sposta(QWidget* da, const QKeyEvent* e, const Insieme& insieme);

} // namespace FrecceFocus
