#include "verdict/profilefolder.h"

#include "base/global.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

// Registers the shipped profiles compiled into this library (profiles.qrc); outside any namespace, as
// Q_INIT_RESOURCE requires.
static void RegisterShippedProfiles() {
    Q_INIT_RESOURCE(profiles);
}

namespace {

const QString ShippedFolder = QStringLiteral(":/profiles/");

bool SameText(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

QStringList ProfileFiles() {
    return QDir(ProfilesFolder())
        .entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Readable, QDir::Name);
}

} // namespace

QString ProfilesFolder() {
    return DataFolder + QStringLiteral("profiles/");
}

QStringList InstallShippedProfiles() {
    RegisterShippedProfiles();
    const QString folder = ProfilesFolder();
    QStringList messages;
    if (!QDir().mkpath(folder))
        return {QStringLiteral("%1: the folder cannot be created").arg(folder)};
    for (const QString& name : QDir(ShippedFolder).entryList(QDir::Files, QDir::Name)) {
        const QString target = folder + name;
        if (QFileInfo::exists(target))
            continue;
        QFile shipped(ShippedFolder + name);
        if (!shipped.copy(target)) {
            messages << QStringLiteral("%1: cannot be written (%2)").arg(target, shipped.errorString());
            continue;
        }
        // A copy of a compiled-in file is read-only; the user may edit the copy.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return messages;
}

TProfileList LoadProfiles() {
    TProfileList list;
    list.refused = InstallShippedProfiles();
    for (const QString& file : ProfileFiles()) {
        QString error;
        if (auto profile = ReadProfile(ProfilesFolder() + file, error))
            list.profiles.push_back(std::move(*profile));
        else
            list.refused << error;
    }
    std::stable_sort(list.profiles.begin(), list.profiles.end(), [](const TProfile& a, const TProfile& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return list;
}

std::optional<TProfile> FindProfile(const QString& nameOrPath, QString& error) {
    if (QFileInfo(nameOrPath).isFile())
        return ReadProfile(nameOrPath, error);
    if (nameOrPath.contains(QLatin1Char('/')) || nameOrPath.endsWith(QStringLiteral(".json"))) {
        error = QStringLiteral("%1: no such file").arg(nameOrPath);
        return std::nullopt;
    }
    TProfileList list = LoadProfiles();
    for (TProfile& profile : list.profiles)
        if (SameText(profile.name, nameOrPath) ||
            SameText(QFileInfo(profile.filePath).completeBaseName(), nameOrPath))
            return std::move(profile);
    // A refused file of that name says why it was refused.
    for (const QString& refused : list.refused)
        if (refused.startsWith(ProfilesFolder() + nameOrPath + QStringLiteral(".json:"),
                               Qt::CaseInsensitive)) {
            error = refused;
            return std::nullopt;
        }
    QStringList names;
    for (const TProfile& profile : list.profiles)
        names << QLatin1Char('"') + profile.name + QLatin1Char('"');
    error = QStringLiteral("no profile named \"%1\" in %2%3")
                .arg(nameOrPath, ProfilesFolder(),
                     names.isEmpty() ? QString()
                                     : QStringLiteral("; it holds ") + names.join(QStringLiteral(", ")));
    return std::nullopt;
}

int MatchProfile(const std::vector<TProfile>& profiles, const QString& make, const QString& model) {
    if (make.trimmed().isEmpty())
        return -1;
    int makeOnly = -1;
    for (size_t i = 0; i < profiles.size(); ++i) {
        const TProfile& profile = profiles[i];
        if (profile.make.isEmpty() || !SameText(profile.make, make))
            continue;
        if (!profile.model.isEmpty() && SameText(profile.model, model))
            return static_cast<int>(i);
        if (profile.model.isEmpty() && makeOnly < 0)
            makeOnly = static_cast<int>(i);
    }
    return makeOnly;
}
