#pragma once

// What the running action (see UserAction.h) knows of its own outcome.
namespace UserAction {

// The database was left before it said whether it carried out what the
// action sent it (a server given up at the limit): it may have stored it.
void NoteOutcomeUnknown();
bool OutcomeUnknown();

} // namespace UserAction
