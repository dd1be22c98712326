#include "gbcodec.h"

#include "platform/codepage.h"

#include <libxml/encoding.h>
#include <libxml/xmlstring.h>

#include <array>
#include <cstdint>

namespace varnok {

namespace {

struct GbRange {
    unsigned char lead, first, last;
};
struct FourByteRange {
    std::uint32_t index;
    std::uint32_t character;
    std::uint32_t count;
};
#include "xml/gbtables.inc"

// GB18030's four-byte sequences beyond the Basic Multilingual Plane start
// at this linear index, with U+10000.
constexpr std::uint32_t SupplementaryIndex = 189000;

}  // namespace

bool inGb2312Set(unsigned code)
{
    const unsigned lead = code >> 8, trail = code & 0xFF;
    for (const GbRange &r : Gb2312Codes)
        if (r.lead == lead && trail >= r.first && trail <= r.last)
            return true;
    return false;
}

namespace {

// What the two tables need of code page 936, asked once.
struct Tables {
    // Code page 936's two-byte codes: lead 0x81..0xFE, trail 0x40..0xFE.
    std::array<char16_t, 126 * 191> twoBytes{};
    // The GB2312 bytes of each BMP character, 0 when it has none.
    std::array<std::uint16_t, 0x10000> gb2312{};

    Tables()
    {
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead)
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail)
                if (trail != 0x7F)
                    twoBytes[(lead - 0x81) * 191 + (trail - 0x40)] =
                        platform::decodeCodePage936(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        for (unsigned c = 0x80; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const unsigned code = platform::encodeCodePage936(char16_t(c));
            if (code > 0xFF && inGb2312Set(code))
                gb2312[c] = std::uint16_t(code);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

char32_t fourByteCharacter(std::uint32_t index)
{
    if (index >= SupplementaryIndex)
        return index - SupplementaryIndex < 0x100000 ? char32_t(0x10000 + index - SupplementaryIndex) : 0;
    for (const FourByteRange &r : FourByteRanges)
        if (index >= r.index && index < r.index + r.count)
            return char32_t(r.character + (index - r.index));
    return 0;
}

int putUtf8(unsigned char *out, char32_t c)
{
    if (c < 0x80) {
        out[0] = static_cast<unsigned char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | c >> 6);
        out[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | c >> 12);
        out[1] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | c >> 18);
    out[1] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 4;
}

// GB18030 bytes (one, two or four) to UTF-8. A sequence cut short at the end
// waits for the rest; one that stands for nothing stops the reading (-2).
int gbInput(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    const unsigned char *inStart = in, *inEnd = in + *inlen;
    unsigned char *outStart = out, *outEnd = out + *outlen;
    const Tables &t = tables();
    int result = 0;
    while (in < inEnd) {
        if (outEnd - out < 4)
            break;
        const unsigned char b = *in;
        if (b < 0x80) {
            *out++ = b;
            ++in;
            continue;
        }
        char32_t c = 0;
        int used = 0;
        if (b == 0x80 || b == 0xFF) {
            c = b == 0x80 ? platform::decodeCodePage936(0x80, 0) : 0;
            used = 1;
        } else if (inEnd - in < 2) {
            break;
        } else if (in[1] >= 0x30 && in[1] <= 0x39) {
            if (inEnd - in < 4)
                break;
            if (in[2] >= 0x81 && in[2] <= 0xFE && in[3] >= 0x30 && in[3] <= 0x39)
                c = fourByteCharacter(((std::uint32_t(b - 0x81) * 10 + (in[1] - 0x30)) * 126 + (in[2] - 0x81)) * 10 +
                                      (in[3] - 0x30));
            used = 4;
        } else {
            if (in[1] >= 0x40 && in[1] <= 0xFE && in[1] != 0x7F)
                c = t.twoBytes[(b - 0x81) * 191 + (in[1] - 0x40)];
            used = 2;
        }
        if (c == 0) {
            result = -2;
            break;
        }
        out += putUtf8(out, c);
        in += used;
    }
    *outlen = int(out - outStart);
    *inlen = int(in - inStart);
    return result < 0 ? result : *outlen;
}

// UTF-8 to GB2312; a character outside the set stops here (-2) and libxml2
// writes it as a numeric character reference.
int gb2312Output(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    if (in == nullptr) {
        *outlen = 0;
        *inlen = 0;
        return 0;
    }
    const Tables &t = tables();
    const unsigned char *inStart = in, *inEnd = in + *inlen;
    unsigned char *outStart = out, *outEnd = out + *outlen;
    while (in < inEnd) {
        int len = int(inEnd - in);
        const int cp = xmlGetUTF8Char(in, &len);
        if (cp < 0) {
            if (inEnd - in < 4)
                break;  // an incomplete character: wait for the rest
            *outlen = int(out - outStart);
            *inlen = int(in - inStart);
            return -2;
        }
        if (cp < 0x80) {
            if (out >= outEnd)
                break;
            *out++ = static_cast<unsigned char>(cp);
        } else {
            const std::uint16_t gb = cp < 0x10000 ? t.gb2312[size_t(cp)] : 0;
            if (gb == 0) {
                *outlen = int(out - outStart);
                *inlen = int(in - inStart);
                return -2;
            }
            if (outEnd - out < 2)
                break;
            *out++ = static_cast<unsigned char>(gb >> 8);
            *out++ = static_cast<unsigned char>(gb & 0xFF);
        }
        in += len;
    }
    *outlen = int(out - outStart);
    *inlen = int(in - inStart);
    return *outlen;
}

}  // namespace

void registerChineseEncodings()
{
    static const bool done = [] {
        // Found before libxml2 would ask iconv, where it has iconv at all.
        xmlNewCharEncodingHandler(Gb2312Label, gbInput, gb2312Output);
        for (const char *label : {"GBK", "GB18030", "CP936"})
            xmlNewCharEncodingHandler(label, gbInput, gb2312Output);
        return true;
    }();
    (void)done;
}

}  // namespace varnok
