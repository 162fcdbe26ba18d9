#pragma once
// The profiles folder: "profiles" in the data folder, holding one JSON file per defibrillator model.
// The program ships a few profiles (compiled in) and copies each one the folder lacks into it when the
// folder is used; a file already there, the user's own or an edited shipped one, is never replaced.

#include "verdict/profile.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// DataFolder + "profiles/".
QString ProfilesFolder();

// Creates the folder when missing and copies into it each shipped profile it lacks. Returns one
// message per file that could not be copied (the program goes on without it).
QStringList InstallShippedProfiles();

struct TProfileList {
    std::vector<TProfile> profiles; // sorted by name, ignoring case
    QStringList refused;            // "FILE: fault", one per *.json file that is not a valid profile
};

// Every valid profile of the folder, after InstallShippedProfiles.
TProfileList LoadProfiles();

// `nameOrPath` is a profile file, or the name of a profile in the folder (ignoring case), or the file
// name of one without ".json". Nothing, with `error` set, when there is no such profile or its file is
// refused.
std::optional<TProfile> FindProfile(const QString& nameOrPath, QString& error);

// The index of the profile for a device of this make and model (both compared ignoring case and
// surrounding spaces): one naming both, else one naming the make and no model; -1 when none does or
// the make is empty. A profile without a make (a generic one) never matches.
int MatchProfile(const std::vector<TProfile>& profiles, const QString& make, const QString& model);
