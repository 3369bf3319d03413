#include "ui/flag_boxes.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QVariant>

namespace vorsin::ui {

void BindFlag(QCheckBox* box, int bit, std::function<void(QCheckBox*)> handler) {
  box->setProperty("Tag", bit);
  QObject::connect(box, &QCheckBox::toggled, box, [box, handler = std::move(handler)] { handler(box); });
}

int FlagBit(const QCheckBox* box) { return box->property("Tag").toInt(); }

void StoreFlag(const QCheckBox* box, uint8_t& byte) {
  const auto mask = static_cast<uint8_t>(1u << FlagBit(box));
  if (box->isChecked()) {
    byte = static_cast<uint8_t>(byte | mask);
  } else {
    byte = static_cast<uint8_t>(byte & ~mask);
  }
}

void ShowFlag(QCheckBox* box, uint8_t byte) {
  const QSignalBlocker block(box);
  box->setChecked((byte >> FlagBit(box)) & 1u);
}

}  // namespace vorsin::ui
