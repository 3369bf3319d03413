// What has to hold before a configuration is written: the image must be able
// to give it back as it is. Addressees without phones are not stored at all;
// the image is built from a copy that leaves them out consistently.
#pragma once

#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/messenger.h"

namespace vorsin::image {

struct PreparedImage {
  Configuration config;               // as the image will hold it
  std::vector<std::string> dropped;   // names of the addressees left out
};

// Leaves out the addressees without phones and drops their bits from the
// event masks, as deleting them would.
PreparedImage PrepareForImage(const Configuration& config);

// Every reason the image could not hold the configuration faithfully, one
// line each, naming what to change (Windows-1251). Empty when it fits.
std::vector<std::string> ImageProblems(const Configuration& config);

// Descriptions ("Sms строка 3") of the templates of 200 characters or more,
// which are stored as "Error".
std::vector<std::string> OverlongTemplates(const Configuration& config);

// Runs the checks with the user: refuses (caption "Ошибка") when something
// does not fit, asks before overlong templates are stored as "Error", tells
// which addressees are left out. True to go on.
bool ConfirmImage(const Configuration& config, const PreparedImage& prepared, Messenger& messenger);

}  // namespace vorsin::image
