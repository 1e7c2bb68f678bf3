#include "Utf8.h"

namespace densimo::cli {
namespace {

// Length of the well-formed, non-NUL sequence at text[i], or 0 when the byte
// there starts none (Unicode 15, table 3-7).
std::size_t SequenceLength(std::string_view text, std::size_t i) noexcept
{
    const auto byte = [&](std::size_t k) -> unsigned {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0x100U;
    };
    const unsigned b0 = byte(0);
    if (b0 == 0) {
        return 0;
    }
    if (b0 < 0x80) {
        return 1;
    }
    const auto in = [](unsigned b, unsigned lo, unsigned hi) { return b >= lo && b <= hi; };
    const unsigned b1 = byte(1);
    if (in(b0, 0xC2, 0xDF)) {
        return in(b1, 0x80, 0xBF) ? 2 : 0;
    }
    const unsigned b2 = byte(2);
    if (in(b0, 0xE0, 0xEF)) {
        const unsigned lo = b0 == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        const unsigned hi = b0 == 0xED ? 0x9F : 0xBF;  // no surrogates
        return in(b1, lo, hi) && in(b2, 0x80, 0xBF) ? 3 : 0;
    }
    const unsigned b3 = byte(3);
    if (in(b0, 0xF0, 0xF4)) {
        const unsigned lo = b0 == 0xF0 ? 0x90 : 0x80;  // no overlong forms
        const unsigned hi = b0 == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
        return in(b1, lo, hi) && in(b2, 0x80, 0xBF) && in(b3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

}  // namespace

bool IsCleanText(std::string_view text) noexcept
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string CleanText(std::string_view text)
{
    std::string clean;
    clean.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = SequenceLength(text, i);
        if (length == 0) {
            clean.append("\xEF\xBF\xBD");
            ++i;
        } else {
            clean.append(text.substr(i, length));
            i += length;
        }
    }
    return clean;
}

}  // namespace densimo::cli
