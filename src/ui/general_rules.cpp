#include "ui/general_rules.h"

#include "model/numbers.h"
#include "ui/text.h"

namespace vorsin::ui {

std::optional<unsigned> LeadingNumber(const QString& text) { return LeadingDecimal(Cp1251(text)); }

uint8_t ParsePeriod(const QString& text, uint8_t old) {
  const QString lower = text.toLower();
  uint8_t value = old;
  if (const auto n = LeadingNumber(lower); n && *n <= 127) value = static_cast<uint8_t>(*n);
  if (lower.contains(u'ч') || lower.contains(u'x')) value |= 0x80;
  if (lower.contains(QStringLiteral("нет"))) value = 0;
  return value;
}

QString FormatPeriod(uint8_t period) {
  const auto unit = (period & 0x80) ? CountUnit::Hours : CountUnit::Minutes;
  return Q(FormatCount(period & 0x7F, unit));
}

uint8_t ParseCount(const QString& text, uint8_t old) {
  const auto n = LeadingNumber(text.toLower());
  return n && *n < 255 ? static_cast<uint8_t>(*n) : old;
}

bool IsNumberKey(QChar c) {
  return (c >= u'0' && c <= u'9') || c == u'#' || c == u'*' || c == u'+';
}

bool IsValidNumber(const QString& text) {
  if (text.isEmpty() || text.size() > kNumberFieldChars) return false;
  for (const QChar c : text.toLower()) {
    if (!IsNumberKey(c) && c != u'?' && c != u'p' && c != u't' && c != u'п' && c != u'т' && c != u'г') return false;
  }
  return true;
}

QString DeviceAddressText(const QString& shown) {
  QString out = shown;
  for (auto& c : out) {
    if (c < u'0' || c > u'9') c = u'0';
  }
  return out;
}

QString PinAfterLeave(const QString& text) { return text.size() < 4 ? QString() : text; }

}  // namespace vorsin::ui
