#pragma once

#include <optional>
#include <string>

#include "analysis/Bootstrap.h"

// The fewest replicates from which a bootstrap interval at this level is
// given: (1 + level) / (1 - level), rounded up; 39 for 95 %. Of K
// replicates, the range from the smallest to the largest covers a new
// replicate with probability (K - 1) / (K + 1); below this count even that
// widest range falls short of the level, so any interval read from the
// replicates' quantiles claims more than they can show (with one replicate
// both ends are the same number).
int MinIntervalReplicates(double level);

// Why a bootstrap of this request gives no interval, or nothing when it can
// give one: too few replicates for the level, or a series too short for its
// lags (n - D < M: the longest lags have no pairs, so every replicate's
// estimate rests on the same zero lengths and the spread of the replicates
// says nothing about H).
std::optional<std::string> CheckBootstrapInterval(const CBootstrapRequest& request);

// Leaves out of result the interval that request cannot give (its low and
// high), and says why; nothing, with the result untouched, when it can.
std::optional<std::string> LeaveOutUngivenInterval(const CBootstrapRequest& request, CBootstrapResult& result);
