#pragma once
// Whole-output comparisons against files under tests/data/.
//
// To make the golden files again after a deliberate change, run the tests with
// CORVEX_UPDATE_GOLDEN=1 (for example `CORVEX_UPDATE_GOLDEN=1 ctest --test-dir build -R Golden`),
// then read the diff of tests/data/ before committing it.

#include "tests/support/qtprinters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

// The text of report lines as zrqtool prints it: UTF-8, a line feed after every line.
QByteArray ReportText(const QStringList& lines);

// tests/data/<relativePath>.
QString TestDataPath(const QString& relativePath);

// Success when actual equals the golden file byte for byte; otherwise the first line that differs,
// expected against actual, with carriage returns and other control characters made visible. With
// CORVEX_UPDATE_GOLDEN=1 the file is written instead.
::testing::AssertionResult MatchesGolden(const QString& relativePath, const QByteArray& actual);

// The same comparison between two texts, for tests that build their expectation in code.
::testing::AssertionResult SameText(const QByteArray& expected, const QByteArray& actual);
