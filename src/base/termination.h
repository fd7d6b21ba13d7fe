#pragma once

// The one place that knows how the system asks a program to end from outside: SIGTERM (the
// session ends) and SIGINT (Ctrl+C in a terminal) on POSIX systems; Ctrl+C, Ctrl+Break, the
// console closing, the user logging off and the system shutting down on Windows. Written
// without Qt, so that its Windows branch compiles with a cross compiler alone.

namespace kav {

// Calls `requested` on a thread of its own each time the system asks the program to end; the
// callback must only hand the request on to the event loop (a queued call). The first call
// installs the listener, later ones change nothing and return its result. False when the system
// refused to install it.
bool callOnTerminationRequest(void (*requested)());

} // namespace kav
