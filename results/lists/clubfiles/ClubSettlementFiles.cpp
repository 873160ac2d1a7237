// The settlement split by club. Made with the settlement sheet.
#include "results/lists/DataList.h"

namespace results {

int CDataList::WriteClubSettlementFiles() { return WriteClubFiles(); }

}  // namespace results
