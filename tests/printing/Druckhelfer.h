#pragma once
// Shared with the overviews' print tests: tests/common/Druckhelfer.h.
#include "common/Druckhelfer.h"
