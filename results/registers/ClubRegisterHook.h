#pragma once
// The program's club register follows the competition: every competition
// opened loads the clubs and regions of its organisation type.
#include "results/data/Competition.h"
#include "results/registers/DataClub.h"

namespace results {

void AttachClubRegister(CCompetition& comp, CDataClub& clubs);

}  // namespace results
