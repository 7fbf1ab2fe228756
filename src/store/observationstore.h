#pragma once

#include "data/color.h"
#include "data/records.h"
#include "data/status.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Mixes the painter made and the colour they came out, kept in the data
// folder as "QorObservation.bin" beside the four data files and with their
// safety: a table file (magic "ZQX_OBSERVE") whose one entry "Observations"
// holds the records back to back (value = their number), every change an
// atomic replacement under the folder's lock with the previous version kept
// as the backup, reading without writing, a damaged file refused before
// anything is written to it. The file appears with the first observation.
namespace pigmora {

// One paint of a recorded mix, as the painter's box held it: named by its
// catalogue code within its colour group, with its name and colour then.
struct ObservedPaint {
    std::string code; // UTF-8
    std::string name; // UTF-8
    int group = 0;
    RgbColor color;
    double parts = 0.0;

    friend bool operator==(const ObservedPaint &, const ObservedPaint &) = default;
};

// A box paint (its catalogue record) at the given parts.
ObservedPaint observedPaint(const PaintColorRecord &record, double parts);

struct Observation {
    RgbColor measured;
    std::vector<ObservedPaint> paints; // two or three, parts positive
    std::int64_t time = 0; // seconds since 1970-01-01 UTC

    friend bool operator==(const Observation &, const Observation &) = default;
};

// Whether the mix has the paint (colour group and catalogue code) in it.
bool observationUses(const Observation &observation, int group, std::string_view code);

// A record: time (int64), measured r, g, b (int32 each), then three paint
// slots of code (21 bytes GBK), name (21), group (1), r, g, b (int32 each)
// and parts (IEEE double); an unused slot is all zero. Little-endian.
inline constexpr std::size_t kObservationRecordSize = 8 + 12 + 3 * (21 + 21 + 1 + 12 + 8);

class ObservationStore
{
public:
    static constexpr std::string_view kFileName = "QorObservation.bin";

    explicit ObservationStore(std::filesystem::path folder);

    // Every observation, oldest first; none when there is no file yet. An
    // error naming what is wrong when the file is damaged.
    Result<std::vector<Observation>> load() const;
    // Appends one; refused (nothing written) when it is not a mix of two or
    // three paints with positive parts, a name or code cannot be stored, or
    // the file is damaged.
    Status add(const Observation &observation) const;
    // Removes observation number (1 = the oldest, as load lists them).
    Status remove(int number) const;
    // Removes the numbered observations in one replacement, all or none.
    // With listed (what load returned to the caller) it is refused, nothing
    // written, when the file no longer holds exactly those: another program
    // changed it since, and the numbers may name other mixes now.
    Status remove(std::span<const int> numbers, std::span<const Observation> listed = {}) const;

    const std::filesystem::path &path() const { return m_path; }

    // Ok when the file opens as an observation file with sound records (the
    // restore command's test of a file and of its backup).
    static Status check(const std::filesystem::path &file);

private:
    std::filesystem::path m_folder;
    std::filesystem::path m_path;
};

// The tinting strengths fitted to the stored observations (fitStrengths),
// per paint: group and catalogue code. A paint's colour is the one its most
// recent observation recorded.
struct PaintStrength {
    int group = 0;
    std::string code; // UTF-8
    double strength = 1.0;
    int observations = 0;
};

class StoredStrengths
{
public:
    static StoredStrengths fit(std::span<const Observation> observations);

    bool empty() const { return m_paints.empty(); }
    const std::vector<PaintStrength> &paints() const { return m_paints; }
    std::optional<PaintStrength> of(int group, std::string_view code) const;
    // One strength per box paint, 1 where none was learnt; empty when no
    // paint of the box has one.
    std::vector<double> forBox(std::span<const PaintColorRecord> box) const;
    double meanBefore() const { return m_meanBefore; }
    double meanAfter() const { return m_meanAfter; }
    // ΔE00 between the colour the mix came out and the pigment model's
    // prediction of its recipe (the paints' colours as recorded) with these
    // strengths: how far the model still is from that mix.
    double differenceOf(const Observation &observation) const;

private:
    std::vector<PaintStrength> m_paints;
    double m_meanBefore = 0.0;
    double m_meanAfter = 0.0;
};

} // namespace pigmora
