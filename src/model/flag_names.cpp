#include "model/flag_names.h"

#include "model/cp1251.h"

namespace vorsin {
namespace {

FlagName Make(FlagName::Byte byte, int bit, const char* utf8) { return {byte, bit, Cp(utf8)}; }

}  // namespace

const std::vector<FlagName>& GeneralFlagNames() {
  static const std::vector<FlagName> names = {
      Make(FlagName::Dial, 7, "Тональный набор"),
      Make(FlagName::Dial, 6, "Не контролировать 425 Гц"),
      Make(FlagName::Dial, 5, "Импульсный коэффициент 2"),
      Make(FlagName::Dial, 3, "Телефонная линия отключена"),
      Make(FlagName::Service, 7, "Эмулировать телефонную линию"),
      Make(FlagName::Service, 6, "Высокий приоритет при  эмуляции"),
      Make(FlagName::Service, 5, "Использовать для получения времени собственный номер"),
      Make(FlagName::Service, 4, "Использовать для получения времени номер \"express\" баланса"),
      Make(FlagName::Service, 1, "Доставка тестового 1 без снятия трубки"),
      Make(FlagName::Service, 0, "Доставка тестового 2 без снятия трубки"),
      Make(FlagName::Dial, 1, "Разрешить просмотр протокола обмена с модемом"),
  };
  return names;
}

const FlagName& LoopsAndFlagName() {
  static const FlagName name = Make(FlagName::Dial, 2, " Работы с шлейфами по логике \"И\".");
  return name;
}

const std::vector<FlagName>& ForwardFlagNames() {
  static const std::vector<FlagName> names = {
      Make(FlagName::Service, 3, "Пересылать Sms сообщения с неизвестных номеров"),
      Make(FlagName::Service, 2, "Пересылать Sms сообщения с номера \"express\" баланса"),
  };
  return names;
}

bool FlagSet(uint8_t byte, const FlagName& flag) { return (byte >> flag.bit) & 1u; }

std::string SetFlagsText(uint8_t byte, const std::vector<FlagName>& flags) {
  std::string out;
  for (const FlagName& f : flags) {
    if (!FlagSet(byte, f)) continue;
    if (!out.empty()) out += ", ";
    out += f.caption;
  }
  return out.empty() ? Cp("нет") : out;
}

std::string YesNoText(bool value) { return Cp(value ? "да" : "нет"); }

std::string LoopListText(const std::vector<int>& loops) {
  if (loops.empty()) return Cp("нет");
  std::string out = Cp("Шлейф ");
  for (size_t i = 0; i < loops.size(); ++i) out += (i ? ", " : "") + std::to_string(loops[i] + 1);
  return out;
}

}  // namespace vorsin
