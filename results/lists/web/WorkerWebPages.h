#pragma once
// The background worker's page making: a list object of the worker's own,
// on its competition, behind the web step. Its messages go to the log, never
// to the screen, and it stops between pages and files when the worker is
// asked to end.
#include "results/exchange/BVResThread.h"

namespace results {

// Gives the worker its web step; done before its thread starts.
void InstallWebStep(CBVResThread& worker);

}  // namespace results
