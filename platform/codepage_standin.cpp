// Everywhere but Windows: code page 936 as Windows has it, from the C
// library's GB18030 converter, whose one- and two-byte codes are those of
// code page 936 (the euro sign at 0x80 aside, which is 936's alone).
#include "codepage.h"

#include <iconv.h>

namespace varnok::platform {

namespace {

// Converts whole characters; nothing when the bytes do not make one.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Bytes written to out, or -1.
    int convert(const char *in, size_t size, char *out, size_t room)
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return -1;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char *from = const_cast<char *>(in);
        char *to = out;
        size_t left = size;
        size_t space = room;
        if (iconv(cd_, &from, &left, &to, &space) == size_t(-1) || left != 0)
            return -1;
        return int(room - space);
    }

private:
    iconv_t cd_;
};

constexpr char16_t Euro = u'\u20AC';

}  // namespace

char16_t decodeCodePage936(unsigned char lead, unsigned char trail)
{
    if (lead == 0x80 && trail == 0)
        return Euro;
    static Converter decoder("UTF-16LE", "GB18030");
    const char bytes[2] = {char(lead), char(trail)};
    char out[4];
    if (decoder.convert(bytes, trail ? 2 : 1, out, sizeof out) != 2)
        return 0;
    return char16_t(static_cast<unsigned char>(out[0]) | static_cast<unsigned char>(out[1]) << 8);
}

unsigned encodeCodePage936(char16_t character)
{
    if (character == Euro)
        return 0x80;
    static Converter encoder("GB18030", "UTF-16LE");
    const char in[2] = {char(character & 0xFF), char(character >> 8)};
    unsigned char out[4];
    const int count = encoder.convert(in, 2, reinterpret_cast<char *>(out), sizeof out);
    if (count == 1)
        return out[0];
    if (count == 2)
        return unsigned(out[0]) << 8 | out[1];
    return 0;  // four bytes: GB18030's own, not code page 936's
}

}  // namespace varnok::platform
