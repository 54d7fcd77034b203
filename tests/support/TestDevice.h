#pragma once

#include "ForwardingDevice.h"
#include "RecordingDriver.h"

// An engine device for tests: the engine's null device with a recording video
// driver in place of its own, a timer the test sets by hand, a window whose
// activity the test decides, and a run loop that stops after a given number
// of passes (or when closeDevice is called).
class TestDevice : public irr::ForwardingDevice
{
public:
    // Created with a reference count of 1, like createDevice's result.
    static TestDevice* create();
    ~TestDevice() override;

    RecordingDriver& recorder() { return *driver; }

    // Stops the engine timer and sets it to the given reading.
    void setTimerMs(irr::u32 ms);

    // run() returns true this many more times, then false.
    int passesLeft = 0;
    // Called at the start of every pass of run(), before it answers.
    void (*onRun)(TestDevice&) = nullptr;
    bool windowActive = true;
    int runCalls = 0;
    mutable int activeChecks = 0;
    bool closed = false;
    std::wstring caption;
    // Called when the device is destroyed (its last reference dropped).
    void (*onDestroy)() = nullptr;

    bool run() override;
    bool isWindowActive() const override;
    irr::video::IVideoDriver* getVideoDriver() override { return driver; }
    void closeDevice() override { closed = true; }
    void setWindowCaption(const wchar_t* text) override { caption = text; }

private:
    explicit TestDevice(irr::IrrlichtDevice* nullDevice);
    RecordingDriver* driver;
};
