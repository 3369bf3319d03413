#include "ui/flag_boxes.h"

#include <QCheckBox>
#include <QVariant>
#include <memory>

#include "ui/bind.h"

namespace vorsin::ui {
namespace {

void BindBit(QCheckBox* box, std::function<uint8_t*()> byte, int bit, bool inverted, std::function<void()> stored) {
  box->setProperty("Tag", bit);
  const auto mask = static_cast<uint8_t>(1u << bit);
  const auto find = std::make_shared<std::function<uint8_t*()>>(std::move(byte));
  BindCheck(box,
            {[find, mask, inverted]() -> std::optional<bool> {
               const uint8_t* b = (*find)();
               if (b == nullptr) return std::nullopt;
               return ((*b & mask) != 0) != inverted;
             },
             [find, mask, inverted](bool checked) {
               if (uint8_t* b = (*find)()) *b = static_cast<uint8_t>(checked != inverted ? (*b | mask) : (*b & ~mask));
             }},
            std::move(stored));
}

}  // namespace

void BindFlag(QCheckBox* box, int bit, std::function<void(QCheckBox*)> handler) {
  box->setProperty("Tag", bit);
  QObject::connect(box, &QCheckBox::toggled, box, [box, handler = std::move(handler)] {
    if (!FillLock::held()) handler(box);
  });
}

void BindFlag(QCheckBox* box, std::function<uint8_t*()> byte, int bit, std::function<void()> stored) {
  BindBit(box, std::move(byte), bit, false, std::move(stored));
}

void BindInvertedFlag(QCheckBox* box, std::function<uint8_t*()> byte, int bit, std::function<void()> stored) {
  BindBit(box, std::move(byte), bit, true, std::move(stored));
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

void ShowFlag(QCheckBox* box, uint8_t byte) { FillCheck(box, (byte >> FlagBit(box)) & 1u); }

}  // namespace vorsin::ui
