#pragma once

#include <irrlicht.h>

// Sleeps until the device's window has events waiting, a stop signal
// arrives or timeoutMs pass, whichever comes first. The device's run() has
// read every event that came before.
void waitForWindowEvents(irr::IrrlichtDevice* device, int timeoutMs);
