#pragma once

namespace velmira {

// Keeps the computer from suspending while a run is active. Both calls are
// harmless when repeated, and silent when no service is there to ask.
class SleepInhibitor {
public:
    virtual ~SleepInhibitor() = default;
    virtual void Acquire() = 0;
    virtual void Release() = 0;
};

}  // namespace velmira
