#include "TestDevice.h"

using namespace irr;

TestDevice* TestDevice::create()
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.LoggingLevel = ELL_NONE;
    return new TestDevice(createDeviceEx(parameters));
}

TestDevice::TestDevice(IrrlichtDevice* nullDevice)
    : ForwardingDevice(nullDevice), driver(new RecordingDriver(nullDevice->getVideoDriver()))
{
}

TestDevice::~TestDevice()
{
    if (onDestroy)
        onDestroy();
    driver->drop();
    inner->drop();
}

void TestDevice::setTimerMs(u32 ms)
{
    ITimer* timer = inner->getTimer();
    if (!timer->isStopped())
        timer->stop();
    timer->setTime(ms);
}

bool TestDevice::run()
{
    ++runCalls;
    if (onRun)
        onRun(*this);
    if (closed || passesLeft <= 0)
        return false;
    --passesLeft;
    return true;
}

bool TestDevice::isWindowActive() const
{
    ++activeChecks;
    return windowActive;
}
