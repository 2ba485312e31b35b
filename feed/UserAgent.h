// What every exchange says it is: "Kavrelo/<version> (Windows NT <major>.<minor>; <arch>)".
#pragma once

#include <string>

// The User-Agent of every exchange. The Windows version is the real one
// (GetVersionEx reports what the manifest's compatibility list allows); the
// architecture is this program's, x86 or x64.
std::string UserAgent();
