#pragma once

// SIGINT, SIGTERM, SIGHUP and SIGQUIT ask the demo to stop the way Escape
// does: the frame loop ends and the orderly shutdown runs (music stopped,
// device dropped, the desktop's video mode restored), after which the
// process exits with 128 + the signal's number, as shells report a stop by
// signal. A second signal during that shutdown ends the process at once.
// A SIGHUP that is ignored when the demo starts (nohup) stays ignored.
// Installing starts with no signal received.
void installStopSignals();

// The first stop signal received since installStopSignals, or 0.
int stopSignal();

// The exit code after a stop by that signal.
constexpr int exitCodeForSignal(int signal)
{
    return 128 + signal;
}
