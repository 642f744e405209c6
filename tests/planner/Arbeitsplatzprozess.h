#pragma once
// Shared with the dialogs' multi-workstation tests: tests/common/Arbeitsplatzprozess.h.
#include "common/Arbeitsplatzprozess.h"
