#pragma once
// A new variable load test, from the start window to the report: the record being filled, the open
// analyzer's owner and the load selection live exactly as long as the chain, and the analyzer is
// closed on every way out.

class QWidget;
class TTestReportViewer;

// The report viewer of the finished test (not yet shown), or nullptr when the test was abandoned.
TTestReportViewer* RunNewTestChain(QWidget* owner);
