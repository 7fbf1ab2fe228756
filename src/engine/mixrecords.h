#pragma once

#include "data/color.h"
#include "data/records.h"

// Records as the solvers fill them into a MixResult.
namespace pigmora {

// A record of only a colour, as a mix's result colour is stored.
inline PaintColorRecord recordOfColor(const RgbColor &color)
{
    PaintColorRecord record;
    record.setColor(color);
    return record;
}

// The record with its used flag set to whether it takes part in the mix.
inline PaintColorRecord withUsedFlag(PaintColorRecord record, bool used)
{
    record.setUsedFlag(used ? 1 : 0);
    return record;
}

} // namespace pigmora
