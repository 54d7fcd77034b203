#pragma once

#include <vector>

// Onsets of the low band (the kick drum, and the bass that starts with it):
// the times, in seconds, where the band's energy over the next 25 ms is at
// least four times its energy over the 25 ms before, taken at the strongest
// such rise nearby. The windows span a whole period of the lowest notes, so
// their waves alone do not look like onsets. The signal is taken as a loop,
// its end leading into its start.
std::vector<double> lowBandOnsets(const std::vector<float>& signal, long rate);
