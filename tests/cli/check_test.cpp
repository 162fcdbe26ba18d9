// zrqtool check and simulate --profile: the lines, the JSON object and the exit statuses.
#include "tests/cli/zrqrun.h"
#include "tests/support/recordbuilder.h"
#include "tests/support/tempsettings.h"
#include "verdict/profilefolder.h"
#include "verdict/verdict.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

class ZrqCheck : public ::testing::Test {
protected:
    // The full record without load 1 (50 ohms), and a profile "T" for it: at 200 J loads 0, 2 and 3
    // declared as delivered, loads 4 and 5 declared 25 % above what they received, load 6 not declared;
    // at 150 J every load declared as delivered.
    void SetUp() override {
        auto rec = MakeFullRecord();
        rec->Loads[1].HasData = 0;
        WriteBytes(record, RecordBytes(*rec));
        QStringList at200, at150;
        for (int load = 0; load < LOAD_COUNT; ++load) {
            const double delivered = DeliveredEnergy(rec->Loads[load], load);
            const QString key = QStringLiteral("\"%1\": ").arg(LoadOhms(load));
            at150 << key + QString::number(delivered, 'f', 3);
            if (load != 6)
                at200 << key + QString::number(load >= 4 ? 1.25 * delivered : delivered, 'f', 3);
        }
        WriteBytes(profile, QStringLiteral(R"({ "name": "T", "settings": [
            { "selected": 200, "declared": { %1 } }, { "selected": 150, "declared": { %2 } },
            { "selected": 100, "declared": { "50": 100 } } ] })")
                                .arg(at200.join(QStringLiteral(", ")), at150.join(QStringLiteral(", ")))
                                .toUtf8());
    }
    ZrqResult Check(const char* energy, QStringList more = {}) const {
        return Zrq(QStringList{QStringLiteral("check"), record, QStringLiteral("--profile"), profile,
                               QStringLiteral("--energy"), QString::fromLatin1(energy)} +
                   more);
    }

    TempSettings settings;
    QString record = settings.Folder() + QStringLiteral("/full.zrq");
    QString profile = settings.Folder() + QStringLiteral("/t.json");
};

} // namespace

TEST_F(ZrqCheck, OneLinePerLoadAndTheVerdict) {
    ZrqResult r = Check("200");
    EXPECT_EQ(r.status, 5);
    EXPECT_EQ(r.err, QString());
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 9) << r.out.toStdString(); // seven loads, the verdict, the final line end
    // 383.4 J is held as 383.39999 J: a deviation that rounds to zero has no sign.
    EXPECT_EQ(
        lines[0],
        QStringLiteral(
            " 25 ohms: delivered 383.40 J, declared 383.4 J, deviation 0.00 J (0.0 %), limit 57.51 J: PASS"));
    EXPECT_EQ(lines[1], QStringLiteral(" 50 ohms: not tested"));
    for (int load : {2, 3})
        EXPECT_TRUE(lines[load].endsWith(QStringLiteral(": PASS"))) << lines[load].toStdString();
    for (int load : {4, 5})
        EXPECT_TRUE(lines[load].contains(QStringLiteral("(-20.0 %)")) &&
                    lines[load].endsWith(QStringLiteral(": FAIL")))
            << lines[load].toStdString();
    EXPECT_TRUE(lines[6].endsWith(QStringLiteral(" J, no declared value"))) << lines[6].toStdString();
    EXPECT_EQ(lines[7],
              QStringLiteral("Verdict: FAIL, profile \"T\" at 200 J: 2 of 5 judged loads outside the limit "
                             "(125 ohms, 150 ohms)"));

    // Six loads within the limit are not a pass: the test is all seven.
    r = Check("150");
    EXPECT_EQ(r.status, 6);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral(
        "Verdict: INCOMPLETE, profile \"T\" at 150 J: 6 of 7 loads judged, all within the limit\n")));
    r = Check("150", {QStringLiteral("--json")});
    EXPECT_EQ(r.status, 6);
    EXPECT_TRUE(r.out.contains(QStringLiteral(R"("loads_judged":6,)"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral(R"("verdict":"incomplete")"))) << r.out.toStdString();
    r = Check("100");
    EXPECT_EQ(r.status, 6);
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("declares no energy at 100 J for any tested load; nothing was judged")));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("INCOMPLETE, profile \"T\" at 100 J: 0 of 7 loads judged\n")));
}

TEST_F(ZrqCheck, JsonObjectWhateverTheLocale) {
    const ZrqResult c = Check("200", {QStringLiteral("--json")});
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const ZrqResult german = Check("200", {QStringLiteral("--json")});
    const ZrqResult germanText = Check("200");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(c.status, 5);
    EXPECT_EQ(german.out, c.out);
    EXPECT_TRUE(germanText.out.contains(QStringLiteral(" 75 ohms: delivered 292,65 J")));

    ASSERT_TRUE(c.out.endsWith(QLatin1Char('\n')));
    EXPECT_EQ(c.out.count(QLatin1Char('\n')), 1);
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(c.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << c.out.toStdString();
    EXPECT_EQ(object.value(QStringLiteral("verdict")), QStringLiteral("fail"));
    EXPECT_EQ(object.value(QStringLiteral("profile")), QStringLiteral("T"));
    EXPECT_EQ(object.value(QStringLiteral("selected_j")), 200);
    const QJsonArray loads = object.value(QStringLiteral("loads")).toArray();
    ASSERT_EQ(loads.size(), LOAD_COUNT);
    const QStringList numbers{QStringLiteral("delivered_j"), QStringLiteral("declared_j"),
                              QStringLiteral("limit_j"), QStringLiteral("deviation_j"),
                              QStringLiteral("pass")};
    for (int load = 0; load < LOAD_COUNT; ++load) {
        SCOPED_TRACE(load);
        const QJsonObject l = loads[load].toObject();
        EXPECT_EQ(l.value(QStringLiteral("ohms")), LoadOhms(load));
        EXPECT_EQ(l.value(QStringLiteral("tested")), load != 1);
        for (const QString& key : numbers) {
            const bool null = load == 1 || (load == 6 && key != QStringLiteral("delivered_j"));
            EXPECT_EQ(l.value(key).isNull(), null) << key.toStdString();
        }
        if (load != 1 && load != 6) {
            EXPECT_EQ(l.value(QStringLiteral("pass")), load < 4);
        }
    }
    EXPECT_TRUE(c.out.contains(
        QStringLiteral(R"("declared_j":383.4,"delivered_j":383.4,"deviation_j":0,"limit_j":57.51,)")))
        << c.out.toStdString();
    EXPECT_TRUE(c.out.contains(QStringLiteral(R"("delivered_j":292.65,)")));
}

TEST_F(ZrqCheck, BadInputAndWrongUsage) {
    const QString empty = settings.Folder() + QStringLiteral("/empty.zrq");
    WriteBytes(empty, RecordBytes(TZRTestRec()));
    const QString bad = settings.Folder() + QStringLiteral("/bad.json");
    WriteBytes(bad, R"({ "name": "B", "settings": [ { "selected": -200, "declared": {} } ] })");
    const QString e = QStringLiteral("--energy"), p = QStringLiteral("--profile"),
                  check = QStringLiteral("check");
    const struct {
        QStringList args;
        int status;
        QString message;
    } cases[] = {
        {{check, empty, p, profile, e, QStringLiteral("200")}, 1, QStringLiteral("holds no tested load")},
        {{check, record, p, profile, e, QStringLiteral("120")},
         1,
         QStringLiteral("the profile \"T\" has no setting of 120 J; it lists 200, 150, 100")},
        {{check, record, p, bad, e, QStringLiteral("200")},
         1,
         bad + QStringLiteral(": the selected energy of setting 1 is not above zero (-200)")},
        {{check, record, p, QStringLiteral("Zoll"), e, QStringLiteral("200")},
         1,
         QStringLiteral("no profile named \"Zoll\"")},
        {{check, settings.Folder() + QStringLiteral("/none.zrq"), p, profile, e, QStringLiteral("200")},
         1,
         QStringLiteral("none.zrq: no such file")},
        {{check, record, p, profile}, 2, QStringLiteral("expects")},
        {{check, record, p, profile, e, QStringLiteral("2OO")},
         2,
         QStringLiteral("--energy: invalid value \"2OO\"")},
        {{check, record, e, QStringLiteral("200"), QStringLiteral("--json"), p},
         2,
         QStringLiteral("--profile expects")},
        {{check, record, record, p, profile, e, QStringLiteral("200")},
         2,
         QStringLiteral("unexpected argument")},
        {{check, record, p, profile, e, QStringLiteral("200"), QStringLiteral("--xml")},
         2,
         QStringLiteral("unexpected argument \"--xml\"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ZrqResult r = Zrq(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, QString());
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("zrqtool")) && r.err.contains(c.message))
            << r.err.toStdString();
    }
}

// A seven-load test of each simulated defibrillator meets the profile shipped for it, at its highest
// and its lowest setting; the rectilinear device, which holds its energy only up to its
// highest voltage, fails the generic profile on exactly the loads it cannot drive.
TEST(ZrqSimulateCheck, SimulatedDevicesMeetTheirOwnProfiles) {
    TempSettings settings;
    const QString out = settings.Folder() + QStringLiteral("/sim.zrq");
    for (const char* model : {"bte", "rlb", "mds"}) {
        const QString name = QStringLiteral("simulator-") + QLatin1String(model);
        QString error;
        const auto profile = FindProfile(name, error);
        ASSERT_TRUE(profile) << error.toStdString();
        const size_t last = profile->settings.size() - 1;
        for (size_t i : {size_t{0}, last}) {
            const QString energy = JoulesText(profile->settings[i].selected);
            SCOPED_TRACE((name + QLatin1Char(' ') + energy).toStdString());
            const ZrqResult r =
                Zrq({QStringLiteral("simulate"), out, QStringLiteral("--waveform"), QLatin1String(model),
                     QStringLiteral("--energy"), energy, QStringLiteral("--profile"), name});
            EXPECT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
            EXPECT_EQ(r.out.count(QStringLiteral(": PASS\n")), LOAD_COUNT);
            EXPECT_TRUE(r.out.contains(QStringLiteral("Verdict: PASS, profile \"") + profile->name));
        }
    }
    const ZrqResult r =
        Zrq({QStringLiteral("simulate"), out, QStringLiteral("--waveform"), QStringLiteral("rlb"),
             QStringLiteral("--profile"), QStringLiteral("Generic impedance-compensated biphasic")});
    EXPECT_EQ(r.status, 5);
    EXPECT_TRUE(
        r.out.endsWith(QStringLiteral("2 of 7 judged loads outside the limit (150 ohms, 175 ohms)\n")))
        << r.out.toStdString();
}
