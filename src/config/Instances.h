#pragma once
// The single instances of the collection and the settings record, each made
// on first use and filled by the initialisation.

#include "config/MovieCollection.h"
#include "config/ZOR2.h"

namespace config {

MovieCollection& gMovies();
ZOR2& gSettings();

// Drops both (for tests): the next use makes them afresh.
void ResetInstances();

}  // namespace config
