#include "platform/DisplayPlan.h"

DisplayPlan planDisplay(DisplayMethod asked, irr::core::dimension2du windowSize, bool vsync, const DisplayFacts& facts)
{
    DisplayPlan plan;
    plan.device.vsync = vsync;
    plan.method = asked;
    const bool realModeSwitch = facts.has640x480Mode && !facts.modeSwitchEmulated;
    if (asked == DisplayMethod::Automatic)
        plan.method = realModeSwitch && facts.activeMonitors == 1 ? DisplayMethod::Fullscreen : DisplayMethod::Desktop;
    if (plan.method == DisplayMethod::Fullscreen && !realModeSwitch)
    {
        plan.notice = facts.modeSwitchEmulated
                          ? "this display only emulates the switch to 640x480 (Xwayland): the demo is shown scaled "
                            "on the desktop instead"
                          : "this screen has no 640x480 mode: the demo is shown scaled on the desktop instead";
        plan.method = DisplayMethod::Desktop;
    }

    switch (plan.method)
    {
    case DisplayMethod::Fullscreen:
        plan.device.fullscreen = true;
        break;
    case DisplayMethod::Desktop:
        // The window manager may still give it another size; the picture follows.
        if (facts.monitorSize.Width >= SCREEN_WIDTH && facts.monitorSize.Height >= SCREEN_HEIGHT)
            plan.device.windowSize = facts.monitorSize;
        break;
    case DisplayMethod::Window:
        plan.device.windowSize = windowSize;
        break;
    case DisplayMethod::Automatic:
        break;
    }
    return plan;
}
