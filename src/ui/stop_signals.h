// The system asking the game to stop (a desktop logging out, a terminal
// closed, Ctrl+C, kill): read like a key, so that every screen can stop in
// order, the recording finished and the settings saved.
#pragma once

// SIGTERM, SIGINT and SIGHUP from now on: the first is noted for
// stopRequested; a second one ends the process at once, as it would have
// without this. May be called again (SDL's start-up replaces the handlers).
void catchStopSignals();
bool stopRequested();
