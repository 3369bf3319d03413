// Check boxes that edit one bit of a flag byte. Each box carries its bit
// number in its "Tag" property; one handler per flag byte reads it.
#pragma once

#include <cstdint>
#include <functional>

class QCheckBox;

namespace vorsin::ui {

// Gives the box its bit and calls handler(box) whenever its state changes.
void BindFlag(QCheckBox* box, int bit, std::function<void(QCheckBox*)> handler);
int FlagBit(const QCheckBox* box);
// Sets or clears the box's bit in the byte to match the box.
void StoreFlag(const QCheckBox* box, uint8_t& byte);
// Shows the box's bit of the byte without running its handler.
void ShowFlag(QCheckBox* box, uint8_t byte);

}  // namespace vorsin::ui
