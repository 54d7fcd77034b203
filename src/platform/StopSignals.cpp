#include "platform/StopSignals.h"

#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace
{
volatile std::sig_atomic_t received = 0;

void onStopSignal(int signal)
{
    if (received != 0)
        _exit(exitCodeForSignal(signal));
    received = signal;
}

bool ignored(int signal)
{
    struct sigaction current;
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}
} // namespace

void installStopSignals()
{
    received = 0;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        if (signal != SIGHUP || !ignored(SIGHUP))
            sigaction(signal, &action, nullptr);
}

int stopSignal()
{
    return received;
}
