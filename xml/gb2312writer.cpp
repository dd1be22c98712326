#include "gb2312writer.h"

#include <libxml/encoding.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <array>
#include <cstdint>

namespace varnok {

namespace {

// GB2312 bytes (lead << 8 | trail) of each BMP character, 0 when none.
std::array<std::uint16_t, 0x10000> table{};

// Decode two bytes with a libxml2 handler; the code point, or -1.
long decodePair(xmlCharEncodingHandlerPtr handler, unsigned char lead, unsigned char trail)
{
    xmlBufferPtr in = xmlBufferCreate();
    xmlBufferPtr out = xmlBufferCreate();
    const unsigned char bytes[2] = {lead, trail};
    xmlBufferAdd(in, bytes, 2);
    long cp = -1;
    if (xmlCharEncInFunc(handler, out, in) > 0 && xmlBufferLength(in) == 0) {
        int len = xmlBufferLength(out);
        const long value = xmlGetUTF8Char(xmlBufferContent(out), &len);
        if (value > 0 && len == xmlBufferLength(out))
            cp = value;
    }
    xmlBufferFree(in);
    xmlBufferFree(out);
    return cp;
}

void ignoreError(void *, xmlErrorPtr) {}

int gb2312Output(unsigned char *out, int *outlen, const unsigned char *in, int *inlen)
{
    if (in == nullptr) {
        *outlen = 0;
        *inlen = 0;
        return 0;
    }
    const unsigned char *inStart = in;
    const unsigned char *inEnd = in + *inlen;
    unsigned char *outStart = out;
    unsigned char *outEnd = out + *outlen;
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
            const std::uint16_t gb = cp < 0x10000 ? table[size_t(cp)] : 0;
            if (gb == 0) {
                // Not in the set: the caller writes a character reference.
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

void registerGb2312Writer()
{
    static const bool done = [] {
        xmlCharEncodingHandlerPtr gb2312 = xmlFindCharEncodingHandler("GB2312");
        xmlCharEncodingHandlerPtr gb18030 = xmlFindCharEncodingHandler("GB18030");
        if (gb2312 == nullptr || gb18030 == nullptr)
            return false;
        // The GB2312 set: every two-byte code GB2312 defines, with the
        // character a GB18030 reader sees in it. Undefined codes are expected
        // here and not reported.
        xmlStructuredErrorFunc oldHandler = xmlStructuredError;
        void *oldContext = xmlStructuredErrorContext;
        xmlSetStructuredErrorFunc(nullptr, ignoreError);
        for (int lead = 0xA1; lead <= 0xF7; ++lead)
            for (int trail = 0xA1; trail <= 0xFE; ++trail)
                if (decodePair(gb2312, lead, trail) > 0) {
                    const long cp = decodePair(gb18030, lead, trail);
                    if (cp > 0 && cp < 0x10000)
                        table[size_t(cp)] = std::uint16_t(lead << 8 | trail);
                }
        xmlSetStructuredErrorFunc(oldContext, oldHandler);
        xmlCharEncCloseFunc(gb2312);
        xmlCharEncCloseFunc(gb18030);
        // Registered under the name documents declare; the reader never asks
        // for it (documents so declared are read as GB18030).
        xmlNewCharEncodingHandler("GB2312", nullptr, gb2312Output);
        return true;
    }();
    (void)done;
}

}  // namespace varnok
