// The puzzle fixture lives with the shared test support.
#pragma once
#include "support/puzzle_fixture.h"
