// Check boxes that edit one bit of a flag byte. Each box carries its bit
// number in its "Tag" property.
#pragma once

#include <cstdint>
#include <functional>

class QCheckBox;

namespace vorsin::ui {

// Gives the box its bit and calls handler(box) whenever the user changes
// its state (never while a fill holds the FillLock).
void BindFlag(QCheckBox* box, int bit, std::function<void(QCheckBox*)> handler);
// The box shows and edits bit of the byte that byte() finds at each click
// (nullptr: nothing to edit); stored() runs after each change. The inverted
// form is checked while the bit is clear.
void BindFlag(QCheckBox* box, std::function<uint8_t*()> byte, int bit, std::function<void()> stored = {});
void BindInvertedFlag(QCheckBox* box, std::function<uint8_t*()> byte, int bit, std::function<void()> stored = {});
int FlagBit(const QCheckBox* box);
// Sets or clears the box's bit in the byte to match the box.
void StoreFlag(const QCheckBox* box, uint8_t& byte);
// Shows the box's bit of the byte under the FillLock.
void ShowFlag(QCheckBox* box, uint8_t byte);

}  // namespace vorsin::ui
