#pragma once
// Shared with the dialogs' tests of the folders below: tests/common/Modaldialog.h.
#include "common/Modaldialog.h"
