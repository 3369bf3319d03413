#include "link/device_errors.h"

#include "link/device_commands.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

std::string Prefix(uint8_t failedCommand) {
  switch (failedCommand) {
    case kCmdTakeAccess: return "TakeAccess: ";
    case kCmdReadEeprom: return "ReadEEPROM: ";
    case kCmdWriteEeprom: return "WriteEEPROM: ";
    case kCmdAddressTable: return "AddressTable: ";
    default: return "??? : ";
  }
}

std::string SubCodeText(uint8_t subCode) {
  switch (subCode) {
    case 0: return Cp("неизвестная комманда");  // sic
    case 1: return Cp("недопустимые параметры комманды");  // sic
    case 13: return Cp("комманда недопустима в текушем режиме работы");  // sic
    case 16: return Cp("неверный пароль или оштбка доступа");  // sic
    case 17: return Cp("ошибка таблицы адресации");
    default: return "?";  // also a retry request that never went away
  }
}

}  // namespace

std::optional<std::string> DeviceErrorText(uint8_t failedCommand, uint8_t subCode) {
  if (subCode == kSubSilent) return std::nullopt;
  return Prefix(failedCommand) + SubCodeText(subCode);
}

}  // namespace vorsin
