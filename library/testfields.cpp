#include "library/testfields.h"

namespace {

// A text the library may not know (null).
QJsonValue Known(const QString& text) {
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString CsvText(const QJsonValue& value) {
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

} // namespace

QJsonValue VerdictJson(TOverallVerdict verdict) {
    const char* value = VerdictValue(verdict);
    return value ? QJsonValue(QString::fromLatin1(value)) : QJsonValue();
}

QString VerdictColumn(TOverallVerdict verdict) {
    const char* value = VerdictValue(verdict);
    return value ? QString::fromLatin1(value).toUpper() : QStringLiteral("-");
}

TTestFields LibraryTestFields(const TLibraryTest& t) {
    TTestFields fields = {
        {QStringLiteral("id"), t.id},
        {QStringLiteral("sha256"), t.sha256},
    };
    const TTestFields device = DeviceFields(t.deviceInfo);
    fields.insert(fields.end(), device.begin(), device.end());
    fields.insert(fields.end(), {
        {QStringLiteral("tech"), t.deviceInfo[diTechID]},
        {QStringLiteral("analyzer_id"), t.analyzerId},
        {QStringLiteral("date"), t.testedAt},
        {QStringLiteral("loads_tested"), t.LoadsTested()},
        {QStringLiteral("verdict"), VerdictJson(t.verdict)},
        {QStringLiteral("added_by"), Known(t.added.by)},
        {QStringLiteral("added_on"), Known(t.added.on)},
        {QStringLiteral("added_with"), Known(t.added.with)},
        {QStringLiteral("added_at"), Known(t.added.at)},
    });
    return fields;
}

TTestFields DeviceFields(const std::array<QString, DEVICE_INFO_SLOTS>& deviceInfo) {
    return {
        {QStringLiteral("device_id"), deviceInfo[diDeviceID]},
        {QStringLiteral("serial"), deviceInfo[diSerialNo]},
        {QStringLiteral("make"), deviceInfo[diManufacturer]},
        {QStringLiteral("model"), deviceInfo[diModel]},
        {QStringLiteral("facility"), deviceInfo[diFacility]},
        {QStringLiteral("location"), deviceInfo[diLocation]},
    };
}

QJsonObject FieldsObject(const TTestFields& fields) {
    QJsonObject object;
    for (const auto& [name, value] : fields)
        object.insert(name, value);
    return object;
}

QString CsvHeaderLine(const TTestFields& fields) {
    QStringList names;
    for (const auto& field : fields)
        names << field.first;
    return names.join(QLatin1Char(','));
}

QString CsvValueLine(const TTestFields& fields) {
    QStringList values;
    for (const auto& field : fields)
        values << CsvField(CsvText(field.second));
    return values.join(QLatin1Char(','));
}
