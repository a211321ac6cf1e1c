// Time source for frame pacing: the program uses the steady clock and a real
// sleep; tests install a clock they drive themselves.
#pragma once

class sgClock {
public:
    virtual ~sgClock() = default;
    virtual double nowMs() = 0;
    virtual void sleepMs(double ms) = 0;
};

// The installed clock; never null.
sgClock& sgGetClock();
// Installs a clock (not owned); null restores the steady clock.
void sgSetClock(sgClock* clock);
