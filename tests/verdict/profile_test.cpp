// Reading defibrillator profiles: what a valid file gives, and the first fault of each kind of bad one.
#include "tests/support/recordbuilder.h"
#include "verdict/profile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A profile with one setting of 200 J around the given members.
QByteArray With200(const char* members, const char* declared = R"("25": 190, "50": 200)") {
    return QByteArray(R"({ "name": "T", )") + members +
           R"( "settings": [ { "selected": 200, "declared": { )" + declared + " } } ] }";
}

} // namespace

TEST(Profile, ReadsTheMakersTableWithDefaults) {
    TProfile p;
    ASSERT_EQ(ParseProfile(R"({ "name": "Generic", "make": " Acme ", "model": "",
        "settings": [ { "selected": 200, "declared": { "25": 180, "50": 200, "175": 210.5 } },
                      { "selected": 1.5, "declared": { "50": 1.5 } } ] })",
                           p),
              QString());
    EXPECT_EQ(p.name, QStringLiteral("Generic"));
    EXPECT_EQ(p.make, QStringLiteral("Acme"));
    EXPECT_EQ(p.tolerance.percent, 15.0);
    EXPECT_EQ(p.tolerance.joules, 3.0);
    ASSERT_EQ(p.settings.size(), 2u);
    const TProfileSetting* s = p.FindSetting(200);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->declared[0], 180.0);
    EXPECT_EQ(s->declared[6], 210.5);
    EXPECT_FALSE(s->declared[2].has_value()); // left out: checked against nothing
    EXPECT_NE(p.FindSetting(1.5), nullptr);
    EXPECT_EQ(p.FindSetting(150), nullptr);
    EXPECT_EQ(p.SettingsText(), QStringLiteral("200, 1.5"));

    // One member of the tolerance given: the other keeps its default.
    ASSERT_EQ(ParseProfile(With200(R"("tolerance": { "percent": 10 },)"), p), QString());
    EXPECT_EQ(p.tolerance.percent, 10.0);
    EXPECT_EQ(p.tolerance.joules, 3.0);
}

TEST(Profile, RefusesTheFirstFault) {
    const struct {
        QByteArray json;
        const char* fault;
    } cases[] = {
        {"{ \"name\": \"T\", ", "is not valid JSON ("},
        {"[ 1, 2 ]", "is not a JSON object"},
        {R"({ "name": "T" })", "lacks \"settings\""},
        {R"({ "name": "T", "settings": {} })", "\"settings\" is not a list"},
        {R"({ "name": "T", "settings": [] })", "\"settings\" lists no setting"},
        {R"({ "name": 7, "settings": [] })", "\"name\" is not a text"},
        {With200(R"("tolerence": { "percent": 10 },)"), "the profile has an unknown entry \"tolerence\""},
        {With200(R"("tolerance": { "percent": -1 },)"), "the tolerance's \"percent\" is negative (-1)"},
        {With200(R"("tolerance": { "joules": -0.5 },)"), "the tolerance's \"joules\" is negative (-0.5)"},
        {With200(R"("tolerance": { "joules": "3" },)"), "the tolerance's \"joules\" is not a number"},
        {With200("", R"("25": 190, "30": 200)"), "the setting of 200 J declares a load of \"30\" ohms; the "
                                                 "loads are 25, 50, 75, 100, 125, 150 and 175"},
        {With200("", R"("75": 0)"),
         "the setting of 200 J: the energy declared for 75 ohms is not above zero (0)"},
        {With200("", R"("75": -20)"), "the energy declared for 75 ohms is not above zero (-20)"},
        {With200("", R"("75": "200")"), "the energy declared for 75 ohms is not a number"},
        {R"({ "settings": [ { "selected": 0, "declared": {} } ] })",
         "the selected energy of setting 1 is not above zero (0)"},
        {R"({ "settings": [ { "declared": {} } ] })", "setting 1 lacks \"selected\""},
        {R"({ "settings": [ 200 ] })", "setting 1 is not an object"},
        {R"({ "settings": [ { "selected": 5, "declare": {} } ] })",
         "setting 1 has an unknown entry \"declare\""},
        {R"({ "settings": [ { "selected": 5 } ] })", "the setting of 5 J lacks \"declared\""},
        // The first of several faults: the repeated setting, not the negative energy after it.
        {R"({ "settings": [ { "selected": 200, "declared": { "50": 200 } },
                            { "selected": 200.0, "declared": { "50": 200 } },
                            { "selected": 150, "declared": { "50": -1 } } ] })",
         "the setting of 200 J is listed twice"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json.toStdString());
        TProfile p;
        p.name = QStringLiteral("kept");
        const QString fault = ParseProfile(c.json, p);
        EXPECT_TRUE(fault.contains(QString::fromUtf8(c.fault))) << fault.toStdString();
        EXPECT_EQ(p.name, QStringLiteral("kept")); // a refused profile changes nothing
    }
}

TEST(Profile, FileMessagesNameTheFile) {
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("acme.json"));
    WriteBytes(bad, R"({ "name": "Acme", "settings": [] })");
    QString error;
    EXPECT_FALSE(ReadProfile(bad, error));
    EXPECT_EQ(error, bad + QStringLiteral(": \"settings\" lists no setting"));
    EXPECT_FALSE(ReadProfile(dir.filePath(QStringLiteral("missing.json")), error));
    EXPECT_TRUE(error.startsWith(dir.filePath(QStringLiteral("missing.json: cannot be read ("))));

    // Without a name, the profile is called after its file.
    const QString unnamed = dir.filePath(QStringLiteral("lifekeeper 3.json"));
    WriteBytes(unnamed, R"({ "settings": [ { "selected": 50, "declared": { "50": 50 } } ] })");
    const auto profile = ReadProfile(unnamed, error);
    ASSERT_TRUE(profile) << error.toStdString();
    EXPECT_EQ(profile->name, QStringLiteral("lifekeeper 3"));
    EXPECT_EQ(profile->filePath, unnamed);
}
