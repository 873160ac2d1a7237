#include "results/registers/ClubRegisterHook.h"

namespace results {

void AttachClubRegister(CCompetition& comp, CDataClub& clubs)
{
    comp.loadClubRegister = [&clubs](CCompetition& opened) {
        clubs.LoadClubs(opened.orgType);
        clubs.LoadOrg(opened.orgType);
    };
}

}  // namespace results
