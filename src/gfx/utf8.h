// UTF-8 as players type it into config.cfg and scripts, where any byte may
// turn up: where a character ends, and how to show bytes that are not UTF-8.
#pragma once
#include <cstddef>
#include <string>

// Bytes in the well-formed UTF-8 sequence that starts at p (1 to 4), or 0
// when none starts there (a stray byte, an overlong form, a surrogate, a
// sequence cut short by end). p < end.
int utf8SequenceLength(const char* p, const char* end);
// Bytes in the first maxCharacters characters of text. A UTF-8 sequence
// counts as one character and is never split; a byte outside any sequence
// (a Latin-1 letter, say) counts as one character on its own.
size_t bytesOfCharacters(const std::string& text, int maxCharacters);
// Bytes in the longest start of text that fits in maxBytes without ending
// inside a UTF-8 sequence.
size_t bytesWithin(const std::string& text, size_t maxBytes);
// text as UTF-8 that SDL_ttf 2.0 draws faithfully: bytes outside any
// sequence, control characters and characters beyond U+FFFF (which it cannot
// draw) each become U+FFFD.
std::string drawableUtf8(const char* text);
// text with control characters and bytes outside any UTF-8 sequence written
// as \xHH, so that printing it cannot disturb a terminal.
std::string printableOnTerminal(const std::string& text);
