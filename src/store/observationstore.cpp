#include "store/observationstore.h"

#include "data/bytes.h"
#include "data/platform.h"
#include "engine/colordifference.h"
#include "engine/pigmentmix.h"
#include "engine/strengthfit.h"
#include "store/folderlock.h"
#include "store/safefile.h"
#include "store/storesupport.h"
#include "store/tablefile.h"

#include <bit>
#include <cmath>

namespace pigmora {

namespace {

constexpr std::string_view kEntryName = "Observations";
constexpr std::size_t kTextWidth = 21;
constexpr std::size_t kSlotSize = 21 + 21 + 1 + 12 + 8;
constexpr std::size_t kSlotsOffset = 20;

int compareNamesDescending(const void *key, const void *element)
{
    return -le::compareText(static_cast<const std::uint8_t *>(key), static_cast<const std::uint8_t *>(element), 31);
}

const TableFormat kObservationTableFormat{
    "ZQX_OBSERVE",        12, 76, 31, 1, 44, static_cast<int>(kObservationRecordSize), false, compareNamesDescending,
    "an observation file"};

class CObservationFile : protected TableFile
{
public:
    CObservationFile()
        : TableFile(kObservationTableFormat)
    { }

    using TableFile::addEntry;
    using TableFile::beginCreate;
    using TableFile::commitEdit;
    using TableFile::entryValue;
    using TableFile::hasEntry;
    using TableFile::lastError;
    using TableFile::open;
    using TableFile::readData;
    using TableFile::writeEntry;
};

std::uint64_t readU64(const std::uint8_t *p)
{
    return static_cast<std::uint64_t>(le::readU32(p)) | (static_cast<std::uint64_t>(le::readU32(p + 4)) << 32);
}

void writeU64(std::uint8_t *p, std::uint64_t value)
{
    le::writeI32(p, static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
    le::writeI32(p + 4, static_cast<std::int32_t>(static_cast<std::uint32_t>(value >> 32)));
}

RgbColor readColor(const std::uint8_t *p)
{
    return {le::readI32(p), le::readI32(p + 4), le::readI32(p + 8)};
}

void writeColor(std::uint8_t *p, const RgbColor &color)
{
    le::writeI32(p, color.red);
    le::writeI32(p + 4, color.green);
    le::writeI32(p + 8, color.blue);
}

bool validColor(const RgbColor &color)
{
    auto channel = [](int value) { return value >= 0 && value <= 255; };
    return channel(color.red) && channel(color.green) && channel(color.blue);
}

// Decodes one record; the reason when it is not a sound observation.
Result<Observation> decode(const std::uint8_t *record)
{
    Observation observation;
    observation.time = static_cast<std::int64_t>(readU64(record));
    observation.measured = readColor(record + 8);
    if (!validColor(observation.measured))
        return Status::error("its measured colour is outside 0..255");
    bool ended = false;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::uint8_t *slot = record + kSlotsOffset + k * kSlotSize;
        const double parts = std::bit_cast<double>(readU64(slot + 55));
        const std::string_view code = le::readText(slot, kTextWidth);
        if (parts == 0.0 && code.empty()) {
            ended = true;
            continue;
        }
        if (ended || !(parts > 0.0) || !std::isfinite(parts) || code.empty())
            return Status::error("a paint's code or parts are missing or not a positive number");
        ObservedPaint paint;
        paint.code = platform::gbkToUtf8(code);
        paint.name = platform::gbkToUtf8(le::readText(slot + 21, kTextWidth));
        paint.group = slot[42];
        paint.color = readColor(slot + 43);
        paint.parts = parts;
        if (!validColor(paint.color))
            return Status::error("a paint's colour is outside 0..255");
        observation.paints.push_back(std::move(paint));
    }
    if (observation.paints.size() < 2)
        return Status::error("it names fewer than two paints");
    return observation;
}

Status encode(const Observation &observation, std::uint8_t *record)
{
    if (observation.paints.size() < 2 || observation.paints.size() > 3)
        return Status::error("an observation is a mix of two or three paints");
    if (!validColor(observation.measured))
        return Status::error("the measured colour must be 0..255");
    std::fill_n(record, kObservationRecordSize, std::uint8_t{0});
    writeU64(record, static_cast<std::uint64_t>(observation.time));
    writeColor(record + 8, observation.measured);
    for (std::size_t k = 0; k < observation.paints.size(); ++k) {
        const ObservedPaint &paint = observation.paints[k];
        const auto code = store::gbkName(paint.code);
        const auto name = store::gbkName(paint.name);
        if (!code || code->empty() || code->size() >= kTextWidth || !name || name->size() >= kTextWidth)
            return Status::error("paint '" + paint.code + "' has a code or name the file cannot keep");
        if (!(paint.parts > 0.0) || !std::isfinite(paint.parts))
            return Status::error("the parts of paint '" + paint.code + "' must be a positive number");
        if (!validColor(paint.color) || paint.group < 0 || paint.group > 255)
            return Status::error("paint '" + paint.code + "' has a colour outside 0..255 or no colour group");
        std::uint8_t *slot = record + kSlotsOffset + k * kSlotSize;
        le::writeText(slot, kTextWidth, *code);
        le::writeText(slot + 21, kTextWidth, *name);
        slot[42] = static_cast<std::uint8_t>(paint.group);
        writeColor(slot + 43, paint.color);
        writeU64(slot + 55, std::bit_cast<std::uint64_t>(paint.parts));
    }
    return Status::ok();
}

// The records of an open file, checked one by one.
Result<std::vector<std::uint8_t>> readRecords(CObservationFile &file, const std::string &fileName)
{
    if (!file.hasEntry(kEntryName))
        return std::vector<std::uint8_t>();
    auto data = store::readRecordData(file, kEntryName, kObservationRecordSize);
    if (!data)
        return Status::error(fileName + ": the observations' data does not match their number");
    const std::size_t count = data->size() / kObservationRecordSize;
    for (std::size_t n = 0; n < count; ++n) {
        const auto observation = decode(data->data() + n * kObservationRecordSize);
        if (!observation)
            return Status::error(fileName + ": observation " + std::to_string(n + 1) + " is damaged ("
                                 + observation.message() + ")");
    }
    return std::move(*data);
}

Status openChecked(CObservationFile &file, const std::filesystem::path &path)
{
    if (!file.open(path))
        return file.lastError();
    const auto records = readRecords(file, path.filename().string());
    return records ? Status::ok() : records.status();
}

} // namespace

ObservedPaint observedPaint(const PaintColorRecord &record, double parts)
{
    const RgbColor color = record.color();
    auto channel = [](int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); };
    return {platform::gbkToUtf8(record.code()),
            platform::gbkToUtf8(record.name()),
            record.group(),
            {channel(color.red), channel(color.green), channel(color.blue)},
            parts};
}

ObservationStore::ObservationStore(std::filesystem::path folder)
    : m_folder(std::move(folder))
    , m_path(m_folder / kFileName)
{ }

Status ObservationStore::check(const std::filesystem::path &file)
{
    CObservationFile opened;
    return openChecked(opened, file);
}

Result<std::vector<Observation>> ObservationStore::load() const
{
    if (!safefile::pathExists(m_path))
        return std::vector<Observation>();
    CObservationFile file;
    if (!file.open(m_path))
        return file.lastError();
    auto records = readRecords(file, m_path.filename().string());
    if (!records)
        return records.status();
    std::vector<Observation> observations;
    for (std::size_t at = 0; at < records->size(); at += kObservationRecordSize)
        observations.push_back(*decode(records->data() + at));
    return observations;
}

Status ObservationStore::add(const Observation &observation) const
{
    std::vector<std::uint8_t> record(kObservationRecordSize);
    if (Status encoded = encode(observation, record.data()); !encoded)
        return encoded;
    const std::string fileName = m_path.filename().string();
    auto lock = FolderLock::acquire(m_folder, FolderLock::Mode::Exclusive);
    if (!lock)
        return Status::error(fileName + ": " + lock.message());
    CObservationFile file;
    if (!safefile::pathExists(m_path)) {
        if (!file.beginCreate(m_path) || !file.addEntry(kEntryName, 1, record, 0) || !file.commitEdit())
            return file.lastError();
        return Status::ok();
    }
    if (Status opened = openChecked(file, m_path); !opened)
        return opened;
    auto records = readRecords(file, fileName);
    records->insert(records->end(), record.begin(), record.end());
    const int count = static_cast<int>(records->size() / kObservationRecordSize);
    if (!file.writeEntry(kEntryName, count, *records, 0))
        return file.lastError();
    return Status::ok();
}

Status ObservationStore::remove(int number) const
{
    return remove(std::span<const int>(&number, 1));
}

Status ObservationStore::remove(std::span<const int> numbers, std::span<const Observation> listed) const
{
    const std::string fileName = m_path.filename().string();
    auto lock = FolderLock::acquire(m_folder, FolderLock::Mode::Exclusive);
    if (!lock)
        return Status::error(fileName + ": " + lock.message());
    if (!safefile::pathExists(m_path))
        return Status::error("there are no observations yet");
    CObservationFile file;
    if (Status opened = openChecked(file, m_path); !opened)
        return opened;
    auto records = readRecords(file, fileName);
    const int count = static_cast<int>(records->size() / kObservationRecordSize);
    if (!listed.empty()) {
        bool same = listed.size() == static_cast<std::size_t>(count);
        for (int n = 0; same && n < count; ++n)
            same = *decode(records->data() + static_cast<std::size_t>(n) * kObservationRecordSize) == listed[n];
        if (!same)
            return Status::error(fileName + ": the recorded mixes were changed by another program; look again");
    }
    std::vector<bool> removed(static_cast<std::size_t>(count), false);
    for (const int number : numbers) {
        if (number < 1 || number > count) {
            return Status::error("there is no observation " + std::to_string(number) + " (the file holds "
                                 + std::to_string(count) + ")");
        }
        removed[static_cast<std::size_t>(number - 1)] = true;
    }
    std::vector<std::uint8_t> kept;
    for (std::size_t n = 0; n < removed.size(); ++n) {
        if (!removed[n]) {
            const auto at = records->begin() + static_cast<std::ptrdiff_t>(n * kObservationRecordSize);
            kept.insert(kept.end(), at, at + static_cast<std::ptrdiff_t>(kObservationRecordSize));
        }
    }
    if (!file.writeEntry(kEntryName, static_cast<int>(kept.size() / kObservationRecordSize), kept, 0))
        return file.lastError();
    return Status::ok();
}

bool observationUses(const Observation &observation, int group, std::string_view code)
{
    for (const ObservedPaint &paint : observation.paints) {
        if (paint.group == group && paint.code == code)
            return true;
    }
    return false;
}

StoredStrengths StoredStrengths::fit(std::span<const Observation> observations)
{
    StoredStrengths result;
    std::vector<RgbColor> colors;
    auto indexOf = [&](const ObservedPaint &paint) {
        for (std::size_t i = 0; i < result.m_paints.size(); ++i) {
            if (result.m_paints[i].group == paint.group && result.m_paints[i].code == paint.code) {
                colors[i] = paint.color; // the most recent colour
                return static_cast<int>(i);
            }
        }
        result.m_paints.push_back({paint.group, paint.code, 1.0, 0});
        colors.push_back(paint.color);
        return static_cast<int>(result.m_paints.size() - 1);
    };
    std::vector<MixObservation> mixes;
    for (const Observation &observation : observations) {
        MixObservation mix;
        mix.measured = observation.measured;
        for (std::size_t k = 0; k < observation.paints.size() && k < 3; ++k) {
            mix.paints[k] = indexOf(observation.paints[k]);
            mix.parts[k] = observation.paints[k].parts;
        }
        mixes.push_back(mix);
    }
    const StrengthFit fit = fitStrengths(colors, mixes);
    for (std::size_t i = 0; i < result.m_paints.size(); ++i) {
        result.m_paints[i].strength = fit.strengths[i];
        result.m_paints[i].observations = fit.observationCounts[i];
    }
    result.m_meanBefore = fit.meanBefore;
    result.m_meanAfter = fit.meanAfter;
    return result;
}

std::optional<PaintStrength> StoredStrengths::of(int group, std::string_view code) const
{
    for (const PaintStrength &paint : m_paints) {
        if (paint.group == group && paint.code == code)
            return paint;
    }
    return std::nullopt;
}

std::vector<double> StoredStrengths::forBox(std::span<const PaintColorRecord> box) const
{
    std::vector<double> strengths;
    bool any = false;
    for (const PaintColorRecord &record : box) {
        const auto paint = of(record.group(), platform::gbkToUtf8(record.code()));
        strengths.push_back(paint ? paint->strength : 1.0);
        any = any || paint.has_value();
    }
    if (!any)
        strengths.clear();
    return strengths;
}

double StoredStrengths::differenceOf(const Observation &observation) const
{
    std::vector<RgbColor> colors;
    std::vector<double> parts;
    std::vector<double> strengths;
    for (const ObservedPaint &paint : observation.paints) {
        const auto learnt = of(paint.group, paint.code);
        colors.push_back(paint.color);
        parts.push_back(paint.parts);
        strengths.push_back(learnt ? learnt->strength : 1.0);
    }
    return deltaE00(labOf(observation.measured), mixPigments(colors, parts, strengths).lab);
}

} // namespace pigmora
