#pragma once

class QKeyEvent;

// Keys as the container has always heard them: the desktop's virtual-key
// codes (13 Enter, 37..40 arrows, 65..90 letters, ...).
namespace VirtualKey {

// The code of a key event; 0 for a key that has none.
int CodeOf(const QKeyEvent& event);
// The flags word that goes with it: extended-key bit, previous state
// (auto-repeat) and, on release, the transition bits.
unsigned FlagsOf(const QKeyEvent& event, bool release);
// The keys the control keeps from dialog navigation: Enter, End, Home and
// the arrows.
bool IsTakenByControl(int code);

} // namespace VirtualKey
