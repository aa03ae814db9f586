// The host's random source (Randomize and Rnd).
#pragma once

namespace plexa {

class IRandom {
public:
    virtual ~IRandom() = default;
    virtual void Randomize(double seed) = 0;
    // The next number in [0, 1).
    virtual float Rnd() = 0;
};

}  // namespace plexa
