// Reads arbitrary text as a date-time in several locales, and writes arbitrary
// values with arbitrary pictures. Whatever reads must be a date that exists;
// whatever is written in the user's own formats must read back.
#include "FuzzInput.h"

#include "DateTimeText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace brevalo::fuzz {
namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::cerr << "invariant broken: " << what << '\n';
        std::abort();
    }
}

void CheckWrittenReadsBack(DateTime value, const FuzzInput& in) {
    const std::string text = DateTimeToText(value, in.formats);
    if (!ReadableYear(value, in.formats, in.now)) {
        return;
    }
    const auto read = TextToDateTime(text, in.formats, in.now);
    Require(read.has_value(), "written text reads back");
    Require(SameSecond(*read, value), "written text reads back as the same second");
}

void CheckReader(const FuzzInput& in) {
    const auto value = TextToDateTime(in.text, in.formats, in.now);
    if (!value) {
        return;
    }
    Require(std::isfinite(*value), "a read date-time is finite");
    Require(*value >= *EncodeDate(1, 1, 1) && *value < *EncodeDate(9999, 12, 31) + 1,
            "a read date-time lies in years 1 to 9999");
    // A text that reads and its own written form are the same moment.
    CheckWrittenReadsBack(*value, in);
}

void CheckWriter(const FuzzInput& in) {
    if (in.text.size() < sizeof(double)) {
        return;
    }
    double value = 0.0;
    std::memcpy(&value, in.text.data(), sizeof value);
    const std::string_view picture = in.text.substr(sizeof value);
    (void)FormatDateTimePicture(picture, value, in.formats);
    if (std::isfinite(value)) {
        CheckWrittenReadsBack(value, in);
    }
}

} // namespace
} // namespace brevalo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brevalo::fuzz;
    const auto in = ReadHead(data, size);
    if (!in) {
        return 0;
    }
    CheckReader(*in);
    CheckWriter(*in);
    return 0;
}
