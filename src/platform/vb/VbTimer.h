#pragma once

namespace vb {

// Seconds since local midnight in single precision, back to 0 at midnight.
float Timer();

}  // namespace vb
