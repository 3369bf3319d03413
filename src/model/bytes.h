// Bounds-checked little/big-endian byte access shared by every encoder and
// decoder. A reader never looks past what it was given: a read beyond the end
// yields zeros and marks the reader failed, so decoders check ok() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorsin {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
  ByteReader(const uint8_t* data, size_t size) : data_(data, size) {}

  bool ok() const { return ok_; }
  size_t position() const { return pos_; }
  size_t size() const { return data_.size(); }
  size_t remaining() const { return data_.size() - pos_; }
  bool atEnd() const { return pos_ >= data_.size(); }

  // Moves to an absolute position; a position past the end fails the reader.
  bool seek(size_t pos) {
    if (pos > data_.size()) return fail();
    pos_ = pos;
    return true;
  }
  bool skip(size_t n) { return n <= remaining() ? (pos_ += n, true) : fail(); }

  // The next byte without consuming it; 0 (and failed) at the end.
  uint8_t peek() {
    if (atEnd()) return fail(), uint8_t{0};
    return data_[pos_];
  }
  uint8_t u8() {
    if (atEnd()) return fail(), uint8_t{0};
    return data_[pos_++];
  }
  uint16_t u16le() {
    const uint16_t lo = u8();
    return static_cast<uint16_t>(lo | (u8() << 8));
  }
  uint16_t u16be() {
    const uint16_t hi = u8();
    return static_cast<uint16_t>((hi << 8) | u8());
  }
  int32_t i32le() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(u8()) << (8 * i);
    return static_cast<int32_t>(v);
  }
  // n bytes, or as many as remain (and failed) when fewer are left.
  std::vector<uint8_t> bytes(size_t n) {
    const size_t take = n <= remaining() ? n : remaining();
    std::vector<uint8_t> out(data_.begin() + pos_, data_.begin() + pos_ + take);
    pos_ += take;
    if (take < n) fail();
    return out;
  }
  std::string text(size_t n) {
    const auto b = bytes(n);
    return std::string(b.begin(), b.end());
  }
  // Byte at an absolute offset without moving; 0 and failed past the end.
  uint8_t at(size_t offset) {
    if (offset >= data_.size()) return fail(), uint8_t{0};
    return data_[offset];
  }

 private:
  bool fail() {
    ok_ = false;
    return false;
  }
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  const std::vector<uint8_t>& data() const { return data_; }
  std::vector<uint8_t> take() { return std::move(data_); }
  size_t size() const { return data_.size(); }

  void u8(uint8_t v) { data_.push_back(v); }
  void u16le(uint16_t v) {
    u8(static_cast<uint8_t>(v));
    u8(static_cast<uint8_t>(v >> 8));
  }
  void u16be(uint16_t v) {
    u8(static_cast<uint8_t>(v >> 8));
    u8(static_cast<uint8_t>(v));
  }
  void i32le(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(u >> (8 * i)));
  }
  void bytes(std::span<const uint8_t> b) { data_.insert(data_.end(), b.begin(), b.end()); }
  void text(const std::string& s) { data_.insert(data_.end(), s.begin(), s.end()); }
  void fill(size_t n, uint8_t v) { data_.insert(data_.end(), n, v); }
  // Overwrites an already written byte; ignored when out of range.
  void patch(size_t offset, uint8_t v) {
    if (offset < data_.size()) data_[offset] = v;
  }

 private:
  std::vector<uint8_t> data_;
};

}  // namespace vorsin
