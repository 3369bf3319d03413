#include "model/messenger.h"

#include "model/cp1251.h"

namespace vorsin {

std::string CaptionError() { return Cp("Ошибка"); }
std::string CaptionWarning() { return Cp("Внимание"); }

}  // namespace vorsin
