// SPDX-License-Identifier: GPL-3.0-or-later
// Built as a file of the windows' library by the test "layers", which passes only when this does
// not compile: the windows see the engine through its interface alone.
#include "webkit/webkit_engine.h"
