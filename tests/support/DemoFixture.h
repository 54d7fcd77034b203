#pragma once

#include "TestDevice.h"

#include "demo/DemoContext.h"
#include "demo/EffectDirector.h"

#include <gtest/gtest.h>

#include <memory>

// A test device, its recording driver and the process-wide context on top.
class DemoFixture : public ::testing::Test
{
protected:
    DemoFixture() : device(TestDevice::create()), driver(device->recorder()), context(new DemoContext(device)) {}
    ~DemoFixture() override
    {
        context.reset();
        device->drop();
    }

    TestDevice* device;
    RecordingDriver& driver;
    std::unique_ptr<DemoContext> context;
};
