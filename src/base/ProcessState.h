#pragma once

// The program's few values that live for the whole run, each process-wide for
// the reason given beside it.
namespace qlt {

// Set by STOP, read by the scan and by the TOP reader between its receives.
// One thread touches it, so a plain int is enough; it is process-wide because
// the click that sets it runs from inside the reader's message pump.
inline int abortRequested = 0;

// Numbers the lines of every receive warning of the run, never reset:
// process-wide because the numbering runs on across scans and accounts.
inline int riskWarningCounter = 0;

// Puts every value above back as a new process has it. Only tests call this:
// they run many cases in one process.
inline void resetProcessState() {
    abortRequested = 0;
    riskWarningCounter = 0;
}

}  // namespace qlt
