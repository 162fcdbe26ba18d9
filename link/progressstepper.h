#pragma once
// What the block reader needs of a progress display: one step per block. The communications
// progress window implements it; headless callers pass nullptr or a CountingStepper.

class ProgressStepper {
public:
    virtual ~ProgressStepper() = default;
    virtual void StepIt() = 0;
};

// Counts the steps, for callers without a window.
class CountingStepper : public ProgressStepper {
public:
    void StepIt() override { ++steps; }
    int steps = 0;
};
