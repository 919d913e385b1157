// What both fuzz targets need: the input read as a stream of bytes (missing
// bytes read as zero), and REQUIRE, which aborts with the broken condition
// so that libFuzzer keeps the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace lerva::fuzz {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return pos_ >= size_; }
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

[[noreturn]] inline void broken(const char* what, const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: %s: %s\n", file, line, what, condition);
    std::abort();
}

}  // namespace lerva::fuzz

// FUZZ_BROKEN names what a failed REQUIRE means in the target that uses it.
#define REQUIRE(condition) \
    ((condition) ? (void)0 : ::lerva::fuzz::broken(FUZZ_BROKEN, #condition, __FILE_NAME__, __LINE__))
