#include "platform/StopSignals.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>

namespace
{
volatile LONG received = 0;

// The console's Ctrl-C and Ctrl-Break stop the demo as SIGINT does; closing
// the console, logging off and shutting down as SIGTERM. The handler runs on
// a thread of its own. For a close, Windows ends the process as soon as the
// handler returns: it waits instead, and the orderly shutdown on the main
// thread ends the process first (Windows allows it a few seconds).
BOOL WINAPI onConsoleEvent(DWORD event)
{
    const int signal = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? SIGINT : SIGTERM;
    if (InterlockedCompareExchange(&received, signal, 0) != 0)
        std::_Exit(exitCodeForSignal(static_cast<int>(received)));
    if (signal == SIGTERM)
        Sleep(INFINITE);
    return TRUE;
}
} // namespace

void installStopSignals()
{
    received = 0;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

int stopSignal()
{
    return static_cast<int>(received);
}
