#pragma once
// The load the test on the bench is on, announced by the test run whenever it shows a step. What
// stands for the bench hardware (the demo's Simulator, `zrqtool simulate`) reads it to set the
// accessory's jumpers, instead of looking for the test's windows or into the test run.

constexpr int NoLoadUnderTest = -1;

// 0..6 while a load step is shown; NoLoadUnderTest on the closing step and when no test runs.
void AnnounceLoadUnderTest(int load);
int LoadUnderTest();
