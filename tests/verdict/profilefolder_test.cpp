// The profiles folder: the shipped profiles arrive without replacing the user's files, bad files are
// listed with their fault, and profiles are found by path, name or make and model.
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"
#include "verdict/profilefolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QStringList Names(const std::vector<TProfile>& profiles) {
    QStringList names;
    for (const TProfile& p : profiles)
        names << p.name;
    return names;
}

} // namespace

TEST(ProfileFolder, ShippedProfilesArriveWithoutReplacingTheUsers) {
    TempSettings settings;
    QDir().mkpath(ProfilesFolder());
    const QByteArray edited =
        R"({ "name": "My generic", "settings": [ { "selected": 5, "declared": { "50": 5 } } ] })";
    WriteBytes(ProfilesFolder() + QStringLiteral("generic-biphasic.json"), edited);
    WriteBytes(ProfilesFolder() + QStringLiteral("broken.json"), "{ \"settings\": [");

    const TProfileList list = LoadProfiles();
    EXPECT_EQ(Names(list.profiles),
              QStringList({QStringLiteral("CorvexZR Simulator, biphasic truncated exponential"),
                           QStringLiteral("CorvexZR Simulator, monophasic damped sine"),
                           QStringLiteral("CorvexZR Simulator, rectilinear biphasic"),
                           QStringLiteral("My generic")}));
    EXPECT_EQ(ReadBytes(ProfilesFolder() + QStringLiteral("generic-biphasic.json")), edited);
    ASSERT_EQ(list.refused.size(), 1);
    EXPECT_TRUE(
        list.refused[0].startsWith(ProfilesFolder() + QStringLiteral("broken.json: is not valid JSON")));

    // The copies are the user's to edit.
    const QString copy = ProfilesFolder() + QStringLiteral("simulator-rlb.json");
    EXPECT_TRUE(QFile::permissions(copy) & QFileDevice::WriteOwner);
    QFile::remove(ProfilesFolder() + QStringLiteral("generic-biphasic.json"));
    EXPECT_EQ(InstallShippedProfiles(), QStringList());
    QString error;
    const auto generic = ReadProfile(ProfilesFolder() + QStringLiteral("generic-biphasic.json"), error);
    ASSERT_TRUE(generic) << error.toStdString();
    EXPECT_EQ(generic->settings.size(), 26u); // every usual setting from 1 J to 360 J
}

TEST(ProfileFolder, FindsByPathNameOrMakeAndModel) {
    TempSettings settings;
    const QString own = settings.Folder() + QStringLiteral("/acme.json");
    WriteBytes(own, R"({ "name": "Acme LK3", "make": "Acme Medical", "model": "LifeKeeper 3",
                         "settings": [ { "selected": 200, "declared": { "50": 200 } } ] })");
    QString error;
    EXPECT_EQ(FindProfile(own, error)->name, QStringLiteral("Acme LK3"));
    EXPECT_EQ(FindProfile(QStringLiteral("generic impedance-COMPENSATED biphasic"), error)->filePath,
              ProfilesFolder() + QStringLiteral("generic-biphasic.json"));
    EXPECT_EQ(FindProfile(QStringLiteral("simulator-mds"), error)->model,
              QStringLiteral("Monophasic damped sine"));

    EXPECT_FALSE(FindProfile(QStringLiteral("Zoll"), error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("no profile named \"Zoll\" in ") + ProfilesFolder() +
                                 QStringLiteral("; it holds \"CorvexZR Simulator")));
    EXPECT_FALSE(FindProfile(settings.Folder() + QStringLiteral("/none.json"), error));
    EXPECT_EQ(error, settings.Folder() + QStringLiteral("/none.json: no such file"));
    WriteBytes(ProfilesFolder() + QStringLiteral("old.json"), R"({ "settings": [] })");
    EXPECT_FALSE(FindProfile(QStringLiteral("old"), error));
    EXPECT_EQ(error, ProfilesFolder() + QStringLiteral("old.json: \"settings\" lists no setting"));

    std::vector<TProfile> profiles = LoadProfiles().profiles;
    TProfile makeOnly = *FindProfile(own, error);
    makeOnly.name = QStringLiteral("Acme, any model");
    makeOnly.model.clear();
    profiles.push_back(makeOnly);
    profiles.push_back(*FindProfile(own, error));
    auto matched = [&](const char* make, const char* model) {
        const int i = MatchProfile(profiles, QString::fromUtf8(make), QString::fromUtf8(model));
        return i < 0 ? QString() : profiles[static_cast<size_t>(i)].name;
    };
    EXPECT_EQ(matched(" acme medical", "LIFEKEEPER 3 "), QStringLiteral("Acme LK3"));
    EXPECT_EQ(matched("Acme Medical", "LifeKeeper 5"), QStringLiteral("Acme, any model"));
    EXPECT_EQ(matched("CorvexZR Simulator", "Rectilinear biphasic"),
              QStringLiteral("CorvexZR Simulator, rectilinear biphasic"));
    EXPECT_EQ(matched("", ""), QString()); // the generic profile is chosen by hand
    EXPECT_EQ(matched("Other", "LifeKeeper 3"), QString());
}
