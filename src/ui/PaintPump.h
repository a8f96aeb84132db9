#pragma once

namespace qlt::ui {

// Runs the repaints that widgets have asked for, and nothing else: input,
// timers, socket notices and other posted work stay queued for the next
// full pass of the event loop. A socket wait calls it between its slices so
// the window stays drawn while no click can start a second command.
void pumpPaintOnly();

}  // namespace qlt::ui
