#include "demo/DemoStart.h"

#include "demo/DemoContext.h"
#include "demo/DemoFrame.h"
#include "demo/EffectDirector.h"
#include "demo/FrameSchedule.h"

bool canStartAt(float seconds)
{
    return seconds >= 0.0f && seconds < EffectDirector::timelineEnd();
}

float startDemoAt(EffectDirector& director, float seconds, const char* musicPath)
{
    DemoContext* context = DemoContext::instance();
    irr::ITimer* timer = context->getDevice()->getTimer();
    FrameSchedule schedule;
    const int frames = schedule.timelineFrames();
    int first = schedule.firstFrameAtOrAfter(seconds, frames);
    if (first < 0)
        first = frames - 1;

    const bool running = !timer->isStopped();
    if (running)
        timer->stop();
    for (int frame = 0; frame < first; ++frame)
    {
        timer->setTime(schedule.timerMs(frame));
        skipFrame(director);
    }
    timer->setTime(schedule.timerMs(first));
    const float from = schedule.clockAt(first);
    context->playMusic(musicPath, from);
    // The clock runs on from the moment the music plays.
    if (running)
        timer->start();
    return from;
}
