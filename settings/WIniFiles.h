// Chief header of the wide ini file: the typed base and the in-memory store.
#pragma once

#include "settings/WCustomIniFile.h"
#include "settings/WMemIniFile.h"
