#pragma once

#include <irrlicht.h>

#include <gtest/gtest.h>

// A test suite sharing one engine device with the null video driver: the
// engine's own loaders, without a window.
class NullDeviceSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        irr::SIrrlichtCreationParameters params;
        params.DriverType = irr::video::EDT_NULL;
        params.LoggingLevel = irr::ELL_NONE;
        device = irr::createDeviceEx(params);
    }
    static void TearDownTestSuite()
    {
        device->drop();
        device = nullptr;
    }

    static inline irr::IrrlichtDevice* device = nullptr;
};
