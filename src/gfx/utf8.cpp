#include "gfx/utf8.h"

#include <cstdio>
#include <cstring>

constexpr const char* REPLACEMENT_CHARACTER = "\xEF\xBF\xBD"; // U+FFFD
constexpr unsigned LAST_DRAWABLE_CODE_POINT = 0xFFFF;          // SDL_ttf 2.0 holds characters in 16 bits

static unsigned byteAt(const char* p) { return static_cast<unsigned char>(*p); }

static bool isContinuation(const char* p, const char* end) { return p < end && (byteAt(p) & 0xC0) == 0x80; }

int utf8SequenceLength(const char* p, const char* end)
{
    const unsigned lead = byteAt(p);
    if (lead < 0x80)
        return 1;
    // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
    unsigned low = 0x80, high = 0xBF;
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (end - p < length || byteAt(p + 1) < low || byteAt(p + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (!isContinuation(p + i, end))
            return 0;
    return length;
}

// One character: a whole sequence, or a single byte outside any.
static int characterLength(const char* p, const char* end)
{
    const int length = utf8SequenceLength(p, end);
    return length > 0 ? length : 1;
}

size_t bytesOfCharacters(const std::string& text, int maxCharacters)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    for (int n = 0; n < maxCharacters && p < end; ++n)
        p += characterLength(p, end);
    return static_cast<size_t>(p - begin);
}

size_t bytesWithin(const std::string& text, size_t maxBytes)
{
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const int length = characterLength(p, end);
        if (static_cast<size_t>(p - begin) + length > maxBytes)
            break;
        p += length;
    }
    return static_cast<size_t>(p - begin);
}

static unsigned codePointOf(const char* p, int length)
{
    static const unsigned LEAD_MASKS[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned value = byteAt(p) & LEAD_MASKS[length];
    for (int i = 1; i < length; ++i)
        value = value << 6 | (byteAt(p + i) & 0x3F);
    return value;
}

static bool isControl(unsigned codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F); }

std::string drawableUtf8(const char* text)
{
    const char* p = text;
    const char* const end = text + std::strlen(text);
    std::string out;
    out.reserve(end - p);
    while (p < end) {
        const int length = utf8SequenceLength(p, end);
        const unsigned codePoint = length > 0 ? codePointOf(p, length) : 0;
        if (length == 0 || isControl(codePoint) || codePoint > LAST_DRAWABLE_CODE_POINT)
            out += REPLACEMENT_CHARACTER;
        else
            out.append(p, length);
        p += length > 0 ? length : 1;
    }
    return out;
}

std::string printableOnTerminal(const std::string& text)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    std::string out;
    while (p < end) {
        const int length = utf8SequenceLength(p, end);
        if (length > 0 && !isControl(codePointOf(p, length))) {
            out.append(p, length);
            p += length;
            continue;
        }
        // A control character's bytes are escaped one by one, like a stray byte.
        for (const char* stop = p + (length > 0 ? length : 1); p < stop; ++p) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byteAt(p));
            out += escaped;
        }
    }
    return out;
}
