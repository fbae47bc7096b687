#include "state/ShowOptions.h"

namespace state {
namespace {

ShowOptions options;

}  // namespace

const ShowOptions& TheShowOptions() { return options; }

void SetShowOptions(const ShowOptions& chosen) { options = chosen; }

}  // namespace state
