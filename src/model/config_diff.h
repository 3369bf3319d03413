// Differences between two configurations in the installer's terms: page,
// item and field with the old and the new value, e.g.
// "Адресаты: Адресат2: Телефон 1: номер: 89161234567 → 89167654321".
// Not a byte comparison: two files that load to the same configuration are equal.
#pragma once

#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

// One line per difference, in UTF-8, in the order of the pages; empty when
// the two are equal. a is the left (old) side of each "→".
std::vector<std::string> DiffConfigurations(const Configuration& a, const Configuration& b);

}  // namespace vorsin
