// The keyboard's order through a window's controls, taken from where they sit: row by row from
// the top, and from the left within a row, as the eye reads a page.
#pragma once

class QWidget;

// Chains the Tab order of the direct children of `window` that take the focus by Tab (disabled
// and hidden ones too, for when they return) in reading order. Two controls share a row when
// their vertical centres lie closer than half the height of the smaller of them.
void OrderTabsByPlace(QWidget* window);
