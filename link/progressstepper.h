#pragma once
// What the block reader needs of a progress display: one step per block. The communications
// progress window implements it; headless callers pass nullptr or a counter of their own.

class ProgressStepper {
public:
    virtual ~ProgressStepper() = default;
    virtual void StepIt() = 0;
};
