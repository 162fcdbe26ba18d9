// Fuzz target: any bytes as a defibrillator profile file.
//
// Checks: a refused profile gives a fault text, with no "nan" or "inf" in it unless it quotes a name
// or text of the file that has them, and leaves the profile
// as it was; an accepted one has at least one setting, every selected and declared energy finite and
// above zero, no setting twice (each found again by its energy), a finite tolerance not below zero,
// and the rule passes each declared energy delivered exactly, with a limit no smaller than either
// part of the tolerance.
#include "tests/fuzz/fuzzcheck.h"
#include "verdict/verdict.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace {

// Whether a name or text of the document says "nan" or "inf": a fault may quote those.
bool TextsMentionNonFinite(const QJsonValue& value) {
    if (value.isString())
        return HasNonFiniteText(value.toString());
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        return std::any_of(array.begin(), array.end(),
                           [](const QJsonValue& v) { return TextsMentionNonFinite(v); });
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (HasNonFiniteText(it.key()) || TextsMentionNonFinite(it.value()))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TProfile profile;
    profile.name = QStringLiteral("untouched");
    const QString fault = ParseProfile(input, profile);
    if (!fault.isEmpty()) {
        // A fault quotes the file's own names ("settinfs"): only words its names and texts lack count.
        const QJsonDocument document = QJsonDocument::fromJson(input);
        const QJsonValue root =
            document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
        FuzzCheck(!HasNonFiniteText(fault) || TextsMentionNonFinite(root),
                  "a fault names a number that is not finite");
        FuzzCheck(profile.name == QStringLiteral("untouched") && profile.settings.empty(),
                  "a refused profile changed the profile");
        return 0;
    }
    const TTolerance& t = profile.tolerance;
    FuzzCheck(std::isfinite(t.percent) && std::isfinite(t.joules) && t.percent >= 0 && t.joules >= 0,
              "tolerance finite and not below zero");
    FuzzCheck(!profile.settings.empty(), "an accepted profile has a setting");
    FuzzCheck(!HasNonFiniteText(profile.SettingsText()), "the settings' text is finite");
    for (const TProfileSetting& setting : profile.settings) {
        FuzzCheck(std::isfinite(setting.selected) && setting.selected > 0,
                  "selected energy finite and above zero");
        FuzzCheck(profile.FindSetting(setting.selected) == &setting,
                  "each setting once, found by its energy");
        for (int load = 0; load < LOAD_COUNT; ++load) {
            if (!setting.declared[load])
                continue;
            const double declared = *setting.declared[load];
            FuzzCheck(std::isfinite(declared) && declared > 0, "declared energy finite and above zero");
            const TLoadVerdict v = JudgeLoad(load, declared, declared, t);
            FuzzCheck(v.check == TLoadCheck::Pass, "the declared energy itself passes");
            FuzzCheck(v.limit >= t.joules &&
                          (v.limit >= t.percent * declared / 100 || std::isinf(t.percent * declared)),
                      "the limit is the larger part of the tolerance");
        }
    }
    return 0;
}
