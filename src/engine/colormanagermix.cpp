#include "data/colormanager.h"
#include "engine/mixsolver.h"

// The colour manager's solver entry points: the solver proper works on any
// box, these hand it the current colour box (empty when absent).
namespace pigmora {

bool CColorManager::findSpatialMix(MixResult &result) const
{
    return hasArrays() && pigmora::findSpatialMix(currentBoxRecords(), result);
}

bool CColorManager::findSubtractiveMix(MixResult &result) const
{
    return hasArrays() && pigmora::findSubtractiveMix(currentBoxRecords(), result);
}

bool CColorManager::findPigmentMix(MixResult &result) const
{
    return hasArrays() && pigmora::findPigmentMix(currentBoxRecords(), result);
}

} // namespace pigmora
