#pragma once

class EffectDirector;

// Whether the demo can start at this demo time: from 0 up to, but not
// including, the timeline's end (not a number cannot).
bool canStartAt(float seconds);

// Starts a freshly set-up demo (context and director made, every effect
// initialised, the music not yet started) at demo time `seconds`, in place of
// the context's playMusic:
// - the frames before the first 60 fps step at or after `seconds` (the steps
//   the capture tool ticks, FrameSchedule) are ticked without drawing
//   (skipFrame), so the demo clock and every effect stand where a run from 0
//   leaves them; a time past the timeline's last step stops at that step;
// - the music starts from that step's demo time;
// - the engine timer is left running from that step's reading, so the frame
//   loop's next tick draws that frame and the demo goes on from there.
// Returns the demo time of that step. At 0 nothing is ticked: the demo starts
// as it always has.
float startDemoAt(EffectDirector& director, float seconds, const char* musicPath);
