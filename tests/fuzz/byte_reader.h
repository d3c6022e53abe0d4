// SPDX-FileCopyrightText: 2026 The Velmo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace velmo::fuzzing {

// Takes choices out of the fuzzer's bytes; runs dry as zeros.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int Int(int low, int high) {
        const unsigned span = static_cast<unsigned>(high - low) + 1;
        const unsigned value = (static_cast<unsigned>(Byte()) << 8) | Byte();
        return low + static_cast<int>(value % span);
    }
    std::string Text(std::size_t max_length) {
        const std::size_t wanted = Byte() % (max_length + 1);
        const std::size_t length = std::min(wanted, size_ - std::min(pos_, size_));
        std::string text(reinterpret_cast<const char*>(data_ + pos_), length);
        pos_ += length;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace velmo::fuzzing
