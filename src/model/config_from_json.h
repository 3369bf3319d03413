// The configuration back from the JSON that ToJson gives, so that files can
// be kept and edited as text. Every field must be there with its type and
// range; a named field (an event's "code", a user's "password") wins over the
// same value inside "words", so either may be edited.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "model/configuration.h"

namespace vorsin {

// Accepts ToJson(Workspace) (the configuration under "configuration") or
// ToJson(Configuration). False with "path: what is wrong" (UTF-8), e.g.
// "addressees[1].phones[0].phoneNumber: the text has a character Windows-1251 lacks".
bool ConfigurationFromJson(const nlohmann::ordered_json& j, Configuration& out, std::string& error);

// UTF-8 to Windows-1251 that refuses broken UTF-8 and characters the code
// page lacks instead of writing '?'.
bool StrictCp(std::string_view utf8, std::string& out);

}  // namespace vorsin
