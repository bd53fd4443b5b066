// The closing card of the adventure, shown over the night lake when the
// fish is caught.
#pragma once

#include <string>

#include "art_common.h"

void BuildEndingArt(TArtArchive& archive, const std::string& boldFont);
