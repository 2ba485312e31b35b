// How soon the ticker tries again after an exchange that failed for
// network reasons (no connection, name not found, refused, timed out, cut):
// a tenth of the normal period after the first failure (30 s at the usual
// five minutes), doubling after each further one, never more than the
// normal period; each delay is spread by up to a fifth either way so that
// many tickers coming back together do not all ask at the same moment.
// And how often anything may start a refresh at all.
#pragma once

#include <cstdint>

// The delay after `failures` network failures in a row (1 for the first),
// for the normal period `periodMs`; `spread` is uniform in [0, 1) and picks
// the point in the ±20% band. Never below a thirtieth of the period (10 s
// at five minutes) nor above it.
unsigned RetryDelayMs(unsigned failures, unsigned periodMs, double spread);

// The shortest time between the starts of two refreshes, whatever asks for
// them: a thirtieth of the normal period (10 s at five minutes).
unsigned MinRefreshSpacingMs(unsigned periodMs);

// Whether waking from sleep or a network coming back calls for a refresh:
// when the last success is older than a fifth of the period (a minute at
// five minutes) and than 3 s, or there has been none this run.
bool CatchUpNeeded(bool everSucceeded, std::uint64_t msSinceSuccess, unsigned periodMs);
