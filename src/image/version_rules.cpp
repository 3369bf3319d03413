#include "image/version_rules.h"

#include "image/image_layout.h"
#include "model/cp1251.h"

namespace vorsin::image {

bool VersionsAllow(Operation operation, uint8_t formatVersion, uint8_t firmwareVersion, Messenger& messenger) {
  const uint8_t minFirmware = operation == Operation::Program ? kMinProgramFirmware : kMinReadFirmware;
  if (firmwareVersion < minFirmware) {
    messenger.Error(Cp("Необходимо обновить версию программного обеспечения устройства."));
    return false;
  }
  if (formatVersion > kMaxImageFormat) {
    messenger.Error(Cp("Необходимо обновить версию Ворсина.\nCвяжитесь с производителем."));  // sic
    return false;
  }
  return true;
}

}  // namespace vorsin::image
