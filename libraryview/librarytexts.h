#pragma once
// What the Test Library window writes in its lists. Qt Core only.

#include "library/fleet.h"
#include "library/testlibrary.h"

#include <QLocale>
#include <QString>
#include <array>

// "PASS", "FAIL", or nothing when nothing was checked.
QString VerdictWord(TOverallVerdict verdict);

// A test's date (ISO 8601 local time) as the report writes dates, "Dec 08, 2026"; with its time,
// "Dec 08, 2026 02:05:07 PM".
QString LibraryDateText(const QString& testedAt, const QLocale& locale = QLocale());
QString LibraryDateTimeText(const QString& testedAt, const QLocale& locale = QLocale());

// The setting a test was checked against, "Generic biphasic, 200 J", or nothing.
QString ChoiceText(const std::optional<TVerdictChoice>& choice);

// A device's test interval: "6 months" of its own, "12 months (default)" as the settings say.
QString IntervalText(int months, bool own);

// Why a device has its status, for its tool tip: "Overdue since Nov 01, 2026", "Near its limit: a load
// used 86 % of its limit in the newest test", ...
QString FleetStatusDetails(const TFleetDevice& device, const QLocale& locale = QLocale());

// Who added a test, "jdoe on BENCH-3", and all of it, with the program and the local time of adding;
// nothing for a test added before the library recorded it.
QString AddedText(const TAddedBy& added);
QString AddedDetails(const TAddedBy& added, const QLocale& locale = QLocale());

// What the window says while it waits for the library at `location`: "Waiting for the library at
// workshop-db...", naming a shared library's server, else the library as messages show it.
QString WaitingText(const QString& location);
