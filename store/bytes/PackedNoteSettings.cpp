#include "store/bytes/PackedNoteSettings.h"

namespace {
struct LevelStep {
    int stored;
    int current;
};
// Levels of older versions, each raised to the step that replaced it.
const LevelStep kOldLevelSteps[] = {{14, 20}, {19, 25}, {23, 35}, {28, 40}, {32, 50},
                                    {37, 55}, {41, 65}, {46, 70}, {64, 90}};

int ReadLevel(std::int32_t stored)
{
    if (stored < 5)
        return 0;
    if (stored > 90)
        return 90;
    for (const LevelStep& step : kOldLevelSteps)
        if (stored == step.stored)
            return step.current;
    return stored;
}
}

PackedNoteFields PackNoteValues(const PackedNoteValues& values)
{
    PackedNoteFields fields;
    fields.digits = (values.digitA + 1) + 10 * (values.digitB + 1) + 100 * (values.digitC + 1);
    fields.level = values.level > 90 ? 90 : values.level;
    fields.combinedHigh = static_cast<std::int32_t>(values.combined / 100);
    fields.combinedLow = static_cast<std::int32_t>(values.combined % 100);
    fields.digitAndFlag = 10 * (values.digitD + 1) + (values.flagE == 1 ? 1 : 0);
    fields.byteSetting = values.byteSetting;
    return fields;
}

PackedNoteValues UnpackNoteValues(const PackedNoteFields& fields)
{
    PackedNoteValues values;
    values.level = ReadLevel(fields.level);
    values.combined = static_cast<std::uint32_t>(fields.combinedHigh) * 100u +
                      static_cast<std::uint32_t>(fields.combinedLow) % 256u;
    std::int32_t w = fields.digitAndFlag;
    if (w <= 0) {
        values.digitD = 0;
        values.flagE = 0;
    } else if (w < 10) {
        values.digitD = 1;
        values.flagE = 0;
    } else {
        values.digitD = w / 10 - 1;
        values.flagE = w % 10;
    }
    values.byteSetting = fields.byteSetting;
    std::int32_t y = fields.digits;
    if (y > 0) {
        values.digitsKnown = true;
        values.digitA = y % 10 - 1;
        values.digitB = (y / 10) % 10 - 1;
        values.digitC = y / 100 - 1;
    }
    return values;
}

std::int32_t WithAlarmStopMinutes(std::int32_t combinedLow, int minutes)
{
    const std::int32_t kept = combinedLow >= 0 ? combinedLow % 256 : 0;
    const std::int32_t stop = minutes < 0 ? 0 : minutes > 255 ? 255 : minutes;
    return kept + 256 * stop;
}

int AlarmStopMinutesOf(std::int32_t combinedLow)
{
    return combinedLow > 0 ? static_cast<int>((combinedLow / 256) % 256) : 0;
}
