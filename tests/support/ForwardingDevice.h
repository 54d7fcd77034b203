#pragma once

// Generated once from the engine's IrrlichtDevice.h: a device that hands every
// call to another device. Test devices derive from it and override only the
// calls they stand in for.
// One call a line, as generated: the formatter leaves it alone.
// clang-format off

#include <irrlicht.h>

namespace irr
{

class ForwardingDevice : public IrrlichtDevice
{
public:
    explicit ForwardingDevice(IrrlichtDevice* inner) : inner(inner) {}

    bool run() override { return inner->run(); }
    void yield() override { return inner->yield(); }
    void sleep(u32 timeMs, bool pauseTimer) override { return inner->sleep(timeMs, pauseTimer); }
    video::IVideoDriver* getVideoDriver() override { return inner->getVideoDriver(); }
    io::IFileSystem* getFileSystem() override { return inner->getFileSystem(); }
    gui::IGUIEnvironment* getGUIEnvironment() override { return inner->getGUIEnvironment(); }
    scene::ISceneManager* getSceneManager() override { return inner->getSceneManager(); }
    gui::ICursorControl* getCursorControl() override { return inner->getCursorControl(); }
    ILogger* getLogger() override { return inner->getLogger(); }
    video::IVideoModeList* getVideoModeList() override { return inner->getVideoModeList(); }
    IOSOperator* getOSOperator() override { return inner->getOSOperator(); }
    ITimer* getTimer() override { return inner->getTimer(); }
    IRandomizer* getRandomizer() const override { return inner->getRandomizer(); }
    void setRandomizer(IRandomizer* r) override { return inner->setRandomizer(r); }
    IRandomizer* createDefaultRandomizer() const override { return inner->createDefaultRandomizer(); }
    void setWindowCaption(const wchar_t* text) override { return inner->setWindowCaption(text); }
    bool isWindowActive() const override { return inner->isWindowActive(); }
    bool isWindowFocused() const override { return inner->isWindowFocused(); }
    bool isWindowMinimized() const override { return inner->isWindowMinimized(); }
    bool isFullscreen() const override { return inner->isFullscreen(); }
    video::ECOLOR_FORMAT getColorFormat() const override { return inner->getColorFormat(); }
    void closeDevice() override { return inner->closeDevice(); }
    const c8* getVersion() const override { return inner->getVersion(); }
    void setEventReceiver(IEventReceiver* receiver) override { return inner->setEventReceiver(receiver); }
    IEventReceiver* getEventReceiver() override { return inner->getEventReceiver(); }
    bool postEventFromUser(const SEvent& event) override { return inner->postEventFromUser(event); }
    void setInputReceivingSceneManager(scene::ISceneManager* sceneManager) override { return inner->setInputReceivingSceneManager(sceneManager); }
    void setResizable(bool resize) override { return inner->setResizable(resize); }
    void minimizeWindow() override { return inner->minimizeWindow(); }
    void maximizeWindow() override { return inner->maximizeWindow(); }
    void restoreWindow() override { return inner->restoreWindow(); }
    bool activateJoysticks(core::array<SJoystickInfo>& joystickInfo) override { return inner->activateJoysticks(joystickInfo); }
    bool setGammaRamp(f32 red, f32 green, f32 blue, f32 relativebrightness, f32 relativecontrast) override { return inner->setGammaRamp(red, green, blue, relativebrightness, relativecontrast); }
    bool getGammaRamp(f32 & red, f32 & green, f32 & blue, f32 & brightness, f32 & contrast) override { return inner->getGammaRamp(red, green, blue, brightness, contrast); }
    void clearSystemMessages() override { return inner->clearSystemMessages(); }
    E_DEVICE_TYPE getType() const override { return inner->getType(); }

protected:
    IrrlichtDevice* inner;
};

} // namespace irr
