#include "verdict/profile.h"

#include "records/tzrtestrec.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cmath>

namespace {

// Each reader returns the fault it found, or an empty text.

QString UnknownEntry(const QJsonObject& object, std::initializer_list<const char*> known,
                     const QString& where) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool isKnown = false;
        for (const char* name : known)
            isKnown = isKnown || it.key() == QLatin1String(name);
        if (!isKnown)
            return QStringLiteral("%1 has an unknown entry \"%2\"").arg(where, it.key());
    }
    return QString();
}

QString ReadText(const QJsonObject& object, const char* key, QString& text) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return QString();
    if (!value.isString())
        return QStringLiteral("\"%1\" is not a text").arg(QLatin1String(key));
    text = value.toString().trimmed();
    return QString();
}

// A JSON number that is finite (and, with `positive`, above zero; else not below zero).
QString ReadNumber(const QJsonValue& value, bool positive, const QString& what, double& number) {
    if (!value.isDouble())
        return QStringLiteral("%1 is not a number").arg(what);
    number = value.toDouble();
    if (!std::isfinite(number))
        return QStringLiteral("%1 is not a finite number").arg(what);
    if (positive && number <= 0.0)
        return QStringLiteral("%1 is not above zero (%2)").arg(what, JoulesText(number));
    if (!positive && number < 0.0)
        return QStringLiteral("%1 is negative (%2)").arg(what, JoulesText(number));
    return QString();
}

QString ReadTolerance(const QJsonObject& root, TTolerance& tolerance) {
    const QJsonValue value = root.value(QLatin1String("tolerance"));
    if (value.isUndefined())
        return QString();
    if (!value.isObject())
        return QStringLiteral("\"tolerance\" is not an object");
    const QJsonObject object = value.toObject();
    QString fault = UnknownEntry(object, {"percent", "joules"}, QStringLiteral("\"tolerance\""));
    if (fault.isEmpty() && object.contains(QLatin1String("percent")))
        fault = ReadNumber(object.value(QLatin1String("percent")), false,
                           QStringLiteral("the tolerance's \"percent\""), tolerance.percent);
    if (fault.isEmpty() && object.contains(QLatin1String("joules")))
        fault = ReadNumber(object.value(QLatin1String("joules")), false,
                           QStringLiteral("the tolerance's \"joules\""), tolerance.joules);
    return fault;
}

// "25" ... "175" to load index 0..6; -1 for anything else.
int LoadIndexOf(const QString& key) {
    for (int load = 0; load < LOAD_COUNT; ++load)
        if (key == QString::number(LoadOhms(load)))
            return load;
    return -1;
}

QString ReadDeclared(const QJsonValue& value, const QString& where, TDeclaredEnergies& declared) {
    if (value.isUndefined())
        return QStringLiteral("%1 lacks \"declared\"").arg(where);
    if (!value.isObject())
        return QStringLiteral("%1: \"declared\" is not an object").arg(where);
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const int load = LoadIndexOf(it.key());
        if (load < 0)
            return QStringLiteral(
                       "%1 declares a load of \"%2\" ohms; the loads are 25, 50, 75, 100, 125, 150 "
                       "and 175")
                .arg(where, it.key());
        double joules = 0.0;
        const QString fault =
            ReadNumber(it.value(), true,
                       QStringLiteral("%1: the energy declared for %2").arg(where, LoadName(load)), joules);
        if (!fault.isEmpty())
            return fault;
        declared[load] = joules;
    }
    return QString();
}

QString ReadSetting(const QJsonValue& value, int number, TProfile& profile) {
    QString where = QStringLiteral("setting %1").arg(number);
    if (!value.isObject())
        return QStringLiteral("%1 is not an object").arg(where);
    const QJsonObject object = value.toObject();
    QString fault = UnknownEntry(object, {"selected", "declared"}, where);
    if (!fault.isEmpty())
        return fault;
    if (!object.contains(QLatin1String("selected")))
        return QStringLiteral("%1 lacks \"selected\"").arg(where);
    TProfileSetting setting;
    fault = ReadNumber(object.value(QLatin1String("selected")), true,
                       QStringLiteral("the selected energy of %1").arg(where), setting.selected);
    if (!fault.isEmpty())
        return fault;
    where = QStringLiteral("the setting of %1 J").arg(JoulesText(setting.selected));
    if (profile.FindSetting(setting.selected) != nullptr)
        return QStringLiteral("%1 is listed twice").arg(where);
    fault = ReadDeclared(object.value(QLatin1String("declared")), where, setting.declared);
    if (fault.isEmpty())
        profile.settings.push_back(setting);
    return fault;
}

QString ReadSettings(const QJsonObject& root, TProfile& profile) {
    const QJsonValue value = root.value(QLatin1String("settings"));
    if (value.isUndefined())
        return QStringLiteral("lacks \"settings\"");
    if (!value.isArray())
        return QStringLiteral("\"settings\" is not a list");
    const QJsonArray settings = value.toArray();
    if (settings.isEmpty())
        return QStringLiteral("\"settings\" lists no setting");
    for (qsizetype i = 0; i < settings.size(); ++i) {
        const QString fault = ReadSetting(settings[i], static_cast<int>(i) + 1, profile);
        if (!fault.isEmpty())
            return fault;
    }
    return QString();
}

} // namespace

const TProfileSetting* TProfile::FindSetting(double joules) const {
    for (const TProfileSetting& setting : settings)
        if (setting.selected == joules)
            return &setting;
    return nullptr;
}

QString TProfile::SettingsText() const {
    QStringList texts;
    for (const TProfileSetting& setting : settings)
        texts << JoulesText(setting.selected);
    return texts.join(QStringLiteral(", "));
}

QString JoulesText(double joules) {
    return QString::number(joules, 'g', QLocale::FloatingPointShortest);
}

QString ParseProfile(const QByteArray& json, TProfile& profile) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("is not valid JSON (%1 at character %2)")
            .arg(error.errorString())
            .arg(error.offset);
    if (!document.isObject())
        return QStringLiteral("is not a JSON object");
    const QJsonObject root = document.object();
    TProfile read;
    QString fault = UnknownEntry(root, {"name", "make", "model", "source", "tolerance", "settings"},
                                 QStringLiteral("the profile"));
    for (const auto& [key, text] : {std::pair{"name", &read.name}, std::pair{"make", &read.make},
                                    std::pair{"model", &read.model}, std::pair{"source", &read.source}})
        if (fault.isEmpty())
            fault = ReadText(root, key, *text);
    if (fault.isEmpty())
        fault = ReadTolerance(root, read.tolerance);
    if (fault.isEmpty())
        fault = ReadSettings(root, read);
    if (fault.isEmpty())
        profile = std::move(read);
    return fault;
}

std::optional<TProfile> ReadProfile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString());
        return std::nullopt;
    }
    TProfile profile;
    const QString fault = ParseProfile(file.readAll(), profile);
    if (!fault.isEmpty()) {
        error = QStringLiteral("%1: %2").arg(path, fault);
        return std::nullopt;
    }
    if (profile.name.isEmpty())
        profile.name = QFileInfo(path).completeBaseName();
    profile.filePath = path;
    return profile;
}
