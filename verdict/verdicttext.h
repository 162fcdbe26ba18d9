#pragma once
// The verdict in words and numbers, as zrqtool prints it and the windows show it: one formatting for
// every place a load's verdict appears.

#include "verdict/verdict.h"

#include <QLocale>
#include <QString>
#include <QStringList>

// `value` rounded to `decimals` in `locale`; a value that rounds to zero is "0.00", never "-0.00".
QString VerdictNumber(double value, int decimals, const QLocale& locale);

// "delivered 193.04 J, declared 200 J, deviation -6.96 J (-3.5 %), limit 30.00 J" for a checked load,
// "delivered 193.04 J, no declared value" for a load the profile declares nothing for, "not tested".
QString LoadVerdictFigures(const TLoadVerdict& verdict, const QLocale& locale);

// zrqtool's line of a load: " 25 ohms: delivered ..., limit 30.00 J: PASS".
QString LoadVerdictLine(const TLoadVerdict& verdict, const QLocale& locale);

// How many loads were judged and how they fared: "3 of 7 loads judged, all within the limit",
// "2 of 5 judged loads outside the limit (50 ohms, 75 ohms)", or "0 of 7 loads judged".
QString JudgedLoadsText(const TRecordVerdict& verdict);

// The verdict with its count, as the windows show it: "INCOMPLETE: 3 of 7 loads judged, all within the
// limit".
QString OverallVerdictSummary(const TRecordVerdict& verdict);

// "Verdict: INCOMPLETE, profile "NAME" at 200 J: 3 of 7 loads judged, all within the limit".
QString RecordVerdictLine(const TRecordVerdict& verdict, const QString& profileName, double selected);

// For a load far outside its limit, the question a technician should ask before blaming the device:
// "delivered 201 J at 50 ohms, 150 J chosen: is the defibrillator set to 150 J?"; empty otherwise.
QString EnergySettingHint(const TLoadVerdict& verdict, double selected);
// The same for the load of a record furthest outside its limit; empty when none is far outside.
QString EnergySettingHint(const TRecordVerdict& verdict, double selected);

// The verdict table the report viewer and the PDF service report show, a row per load:
// "Load", "Delivered J", "Declared J", "Deviation J", "Deviation %", "Limit ± J", "Result".
QStringList LoadVerdictHeadings();
// A load's row: its name, the delivered energy of a tested load, the other figures of a checked one,
// and the result when the loads are checked against a profile (`checking`) or the load was not tested.
QStringList LoadVerdictCells(const TLoadVerdict& verdict, bool checking, const QLocale& locale);
