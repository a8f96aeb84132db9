#pragma once

namespace qlt {

// Set by STOP, read by the scan and by the TOP reader between its receives.
// One thread touches it, so a plain int is enough; it is process-wide because
// the click that sets it runs from inside the reader's message pump.
inline int abortRequested = 0;

}  // namespace qlt
