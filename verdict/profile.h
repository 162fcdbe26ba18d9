#pragma once
// A defibrillator profile: the energy the maker declares the device delivers into each of the seven
// test loads at each energy that can be selected on it, and the tolerance the delivered energy must
// keep. Profiles are JSON files the technician can write from a maker's table:
//
//   { "name": "...", "make": "...", "model": "...", "source": "...",
//     "tolerance": { "percent": 15, "joules": 3 },
//     "settings": [ { "selected": 200, "declared": { "25": 200, "50": 200, ... } }, ... ] }
//
// "tolerance" (and either of its members), "make", "model", "source" and "name" may be left out;
// "declared" may leave loads out.

#include "records/tzrtest.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

struct TTolerance {
    double percent = 15.0;
    double joules = 3.0;
};

// Declared energy in joules per load index 0..6; empty where the maker declares nothing.
using TDeclaredEnergies = std::array<std::optional<double>, LOAD_COUNT>;

struct TProfileSetting {
    double selected = 0.0; // J, as selected on the device
    TDeclaredEnergies declared;
};

struct TProfile {
    QString name;
    QString make;
    QString model;
    QString source; // where the declared energies come from, as the profile's author wrote it
    TTolerance tolerance;
    std::vector<TProfileSetting> settings; // in the file's order
    QString filePath;                      // empty for a profile parsed from bytes

    // The setting whose selected energy is `joules`, or null.
    const TProfileSetting* FindSetting(double joules) const;
    // "200, 150, 100" in the file's order, for messages.
    QString SettingsText() const;
};

// Empty when `json` is a valid profile, which is then stored in `profile`; otherwise the first fault
// found, as a phrase to follow the file's name ("the setting of 200 J is listed twice").
QString ParseProfile(const QByteArray& json, TProfile& profile);

// The profile in the file, its name defaulting to the file's name without ".json"; or nothing, with
// `error` set to "FILE: fault".
std::optional<TProfile> ReadProfile(const QString& path, QString& error);

// An energy as the profile writes it, without trailing zeros: "200", "1.5".
QString JoulesText(double joules);
