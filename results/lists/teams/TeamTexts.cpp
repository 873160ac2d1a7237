#include "results/lists/teams/TeamTexts.h"

#include "results/lists/ListBuild.h"

namespace results {

std::string TeamResultText(int rule, int result)
{
    switch (rule) {
    case 4:
        return Format("%d/%d", result / 1000, result % 1000);
    case 6:
        return Format("%d", 3 * (result / 1000) + 2 * (result % 1000));
    case 7:
        return Format("%d", result / 1000 + result % 1000);
    default:
        return Format("%d", result / 10);
    }
}

}  // namespace results
