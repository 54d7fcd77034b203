#include "Soundtrack.h"

#include "Mastering.h"

#include <cmath>
#include <vector>

namespace soundtrack
{

using synth::LoopBus;
using synth::Stereo;

namespace
{

constexpr double STEP = BAR / 16; // a sixteenth note

struct Chord
{
    int bassNote;
    std::vector<int> voicing; // three notes, smooth from chord to chord
};

const Chord AM{45, {57, 60, 64}}, F{41, {57, 60, 65}}, C{48, {55, 60, 64}}, G{43, {55, 59, 62}}, EM{40, {55, 59, 64}},
    DM{38, {57, 62, 65}};

// One chord per bar, four bars per section.
const Chord* const PROGRESSIONS[7][4] = {
    {&AM, &F, &C, &G},  {&AM, &F, &C, &G}, {&AM, &F, &C, &G},  {&F, &G, &EM, &AM},
    {&F, &G, &EM, &AM}, {&AM, &F, &C, &G}, {&DM, &F, &G, &AM},
};

const Chord& chordOf(int bar)
{
    return *PROGRESSIONS[bar / BARS_PER_SECTION][bar % BARS_PER_SECTION];
}

// A melody note: start and length in sixteenths within its bar, MIDI note.
struct Note
{
    int step, steps, pitch;
};
using Phrase = std::vector<std::vector<Note>>; // one list of notes per bar

// Accents on the drum pattern's sixteenths (0, 4, 7, 8, 12).
const Phrase THEME = {
    {{0, 4, 76}, {4, 3, 72}, {7, 1, 74}, {8, 4, 76}, {12, 4, 69}},
    {{0, 4, 77}, {4, 3, 76}, {7, 1, 74}, {8, 4, 72}, {12, 4, 69}},
    {{0, 4, 76}, {4, 3, 72}, {7, 1, 74}, {8, 4, 79}, {12, 4, 76}},
    {{0, 4, 74}, {4, 3, 71}, {7, 1, 72}, {8, 4, 74}, {12, 2, 71}, {14, 2, 74}},
};

const Phrase FLIGHT = {
    {{0, 2, 81}, {2, 2, 79}, {4, 2, 77}, {6, 2, 76}, {8, 4, 77}, {12, 4, 72}},
    {{0, 2, 79}, {2, 2, 77}, {4, 2, 76}, {6, 2, 74}, {8, 2, 74}, {10, 2, 76}, {12, 4, 79}},
    {{0, 4, 76}, {4, 2, 74}, {6, 2, 71}, {8, 4, 79}, {12, 4, 76}},
    {{0, 3, 72}, {3, 1, 74}, {4, 4, 76}, {8, 8, 69}},
};

const Phrase CLOSING = {
    {{0, 8, 77}, {8, 4, 76}, {12, 4, 74}},
    {{0, 8, 72}, {8, 4, 74}, {12, 4, 77}},
    {{0, 6, 79}, {6, 2, 77}, {8, 4, 76}, {12, 4, 74}},
    {{0, 4, 76}, {4, 4, 72}, {8, 7, 69}},
};

// Eight bell notes per bar, one pattern per chord of the conveyor section.
const int BELLS[4][8] = {
    {81, 76, 72, 76, 81, 84, 81, 76},
    {77, 81, 84, 81, 77, 72, 77, 81},
    {79, 76, 72, 76, 79, 84, 79, 76},
    {74, 79, 83, 79, 74, 71, 74, 79},
};

// Which layers play in each section: the arrangement changes at every
// section boundary and nowhere else.
struct Layers
{
    bool snare, hats, shaker, bass, pad, arp, theme, flight, bells, closing;
    float kickWeight;
};

const Layers SECTIONS[7] = {
    // snare hats  shaker bass   pad    arp    theme  flight bells  closing kick
    {false, false, false, false, true, true, false, false, false, false, 1.0f}, // opening: kick, pad, soft arp
    {false, true, false, true, true, true, false, false, false, false, 1.0f},   // flight: bass and hats join
    {true, true, false, true, true, true, true, false, false, false, 1.1f},     // title: snare and the theme
    {false, false, false, true, true, false, false, true, false, false, 1.0f},  // spirals: a new melody, bare
    {true, true, false, true, true, true, false, true, false, false, 1.1f},     // spirals: everything, higher
    {false, false, true, false, false, false, false, false, true, false, 0.9f}, // conveyor: bells and shaker
    {true, false, false, true, true, false, false, false, false, true, 1.0f},   // finale: the closing phrase
};

void addPhrase(LoopBus& bus, const Phrase& phrase, int firstBar, int transpose, float gain, float pan)
{
    for (int b = 0; b < 4; ++b)
        for (const Note& note : phrase[size_t(b)])
            bus.add((firstBar + b) * BAR + note.step * STEP, synth::lead(note.pitch + transpose, note.steps * STEP),
                    gain, pan);
}

} // namespace

Stereo compose()
{
    const size_t frames = size_t(std::lround(LENGTH * synth::RATE));
    LoopBus drums(frames), music(frames), echoed(frames);
    synth::Noise noise(12345);

    for (int bar = 0; bar < BARS; ++bar)
    {
        const Layers& layers = SECTIONS[bar / BARS_PER_SECTION];
        const Chord& chord = chordOf(bar);
        const double start = bar * BAR;
        const bool sectionStart = bar % BARS_PER_SECTION == 0;

        // Drums: a kick on every hit of the pattern, the snare on the second and last.
        for (int h = 0; h < 5; ++h)
        {
            const float accent = h == 0 ? 1.0f : 0.85f;
            const double untilNext = (h + 1 < 5 ? HITS[h + 1] : BAR) - HITS[h];
            drums.add(start + HITS[h], synth::kick(layers.kickWeight, untilNext), 0.95f * accent, 0.0f);
            if (layers.snare && (h == 1 || h == 4))
                drums.add(start + HITS[h] + 0.002, synth::snare(noise), 0.42f, 0.05f);
        }
        if (layers.hats)
            for (int step = 2; step < 16; step += 4)
                drums.add(start + step * STEP, synth::hat(noise, step == 14 && bar % 2), 0.22f, 0.35f);
        if (layers.shaker)
            for (int step = 0; step < 16; ++step)
                drums.add(start + step * STEP, synth::hat(noise, false), step % 2 ? 0.2f : 0.1f, -0.35f);
        if (sectionStart && bar > 0)
            drums.add(start, synth::hat(noise, true), 0.25f, -0.3f);

        // Bass: on the same hits as the kick, so that low notes begin with it.
        if (layers.bass)
        {
            const int octave[5] = {0, 0, 12, 0, 7};
            for (int h = 0; h < 5; ++h)
            {
                const double end = h + 1 < 5 ? HITS[h + 1] : BAR;
                music.add(start + HITS[h], synth::bass(chord.bassNote + octave[h], (end - HITS[h]) * 0.92), 0.30f,
                          0.0f);
            }
        }

        // Pad: the chord, swelling in over the bar.
        if (layers.pad)
            music.add(start, synth::pad(chord.voicing, BAR + 0.3), 0.10f);

        // Arpeggio: the chord's tones an octave up, one per sixteenth.
        if (layers.arp)
        {
            const int order[16] = {0, 1, 2, 3, 2, 1, 0, 1, 0, 1, 2, 3, 2, 1, 2, 3};
            for (int step = 0; step < 16; ++step)
            {
                const int i = order[step];
                const int pitch = (i == 3 ? chord.voicing[0] + 12 : chord.voicing[size_t(i)]) + 12;
                const float brightness = bar < BARS_PER_SECTION ? 0.35f : 0.8f;
                echoed.add(start + step * STEP, synth::pluck(pitch, STEP * 1.5, brightness), 0.11f,
                           step % 2 ? 0.4f : -0.4f);
            }
        }

        if (sectionStart)
        {
            if (layers.theme)
                addPhrase(echoed, THEME, bar, 0, 0.16f, -0.1f);
            if (layers.flight)
                addPhrase(echoed, FLIGHT, bar, bar / BARS_PER_SECTION == 4 ? 12 : 0, 0.15f, 0.1f);
            if (layers.closing)
                addPhrase(echoed, CLOSING, bar, 0, 0.17f, 0.0f);
        }
        if (layers.bells)
            for (int i = 0; i < 8; ++i)
                echoed.add(start + i * 2 * STEP, synth::bell(BELLS[bar % 4][i], STEP * 2.5), 0.16f,
                           i % 2 ? 0.5f : -0.5f);
    }

    // Echoes of a dotted eighth and a small room on the melodic parts.
    Stereo mix(frames);
    for (const LoopBus* bus : {&drums, &music, &echoed})
        for (size_t i = 0; i < frames; ++i)
        {
            mix.left[i] += bus->sound().left[i];
            mix.right[i] += bus->sound().right[i];
        }
    synth::addPingPongDelay(echoed.sound(), mix, size_t(std::lround(3 * STEP * synth::RATE)), 0.35f, 0.3f);
    synth::addReverb(echoed.sound(), mix, 0.12f);
    synth::addReverb(music.sound(), mix, 0.06f);

    synth::master(mix, LOUDNESS_LUFS, PEAK_CEILING);
    return mix;
}

} // namespace soundtrack
