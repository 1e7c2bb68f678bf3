// UTF-8 checks for text that comes from files: the batch command reports
// rows that are not valid UTF-8 or hold NUL bytes, and echoes them with each
// bad byte replaced, so that its own output is always valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace densimo::cli {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF) and holds no NUL.
bool IsCleanText(std::string_view text) noexcept;

// `text` with every byte that is not part of a well-formed sequence, and
// every NUL, replaced by U+FFFD.
std::string CleanText(std::string_view text);

}  // namespace densimo::cli
