// Fuzz target over the document reader: parse as the program does, read into
// the window's values, write back as GB2312, read again; the second reading
// must equal the first, and reading the bytes without a loaded document must
// give what the loaded document gives (the same values, or the same
// refusal). Anything else (a crash, a sanitizer report, a difference) is a
// fault.
#include "document/layout.h"
#include "document/values.h"
#include "xml/xmldocument.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

using namespace varnok;

namespace {

const QDate Today(2026, 12, 8);

// What the window would hold after opening: the cleared values, overwritten
// by the values the document holds.
FieldValues windowValues(const Declaration &d)
{
    FieldValues values = clearedBasicValues(Today);
    for (auto it = d.basic.cbegin(); it != d.basic.cend(); ++it)
        values[it.key()] = it.value();
    // The mask fields keep only digits, each in its place.
    for (const BasicField &field : basicFields())
        if (field.kind == ValueKind::Mask) {
            QString text = values[field.control].leftJustified(field.maskPositions, u' ', true);
            for (QChar &c : text)
                if (c < u'0' || c > u'9')
                    c = u' ';
            values[field.control] = text;
        }
    return values;
}

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "round trip broken: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_document";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    // The refusal's kind and words, or empty.
    auto refusal = [](const std::function<void()> &read) -> std::string {
        try {
            read();
        } catch (const XmlError &e) {
            return std::string("XmlError: ") + e.what();
        } catch (const ConversionError &e) {
            return std::string("ConversionError: ") + e.what();
        }
        return {};
    };
    XmlDocument doc;
    Declaration first, streamed;
    const std::string loaded = refusal([&] {
        doc.loadFromBytes(input, "fuzz.xml");
        first = readDeclaration(doc);
    });
    const std::string read = refusal([&] { streamed = readDeclaration(input, "fuzz.xml"); });
    if (read != loaded)
        fail("reading the bytes refuses otherwise", QString::fromStdString(loaded + "\n" + read));
    if (!loaded.empty())
        return 0;
    if (!(streamed == first))
        fail("reading the bytes gives other values", QString::fromUtf8(input));

    const FieldValues values = windowValues(first);
    XmlDocument out;
    buildBasicDocument(out, values);
    for (int l = 0; l < ListCount; ++l)
        if (!first.lists[size_t(l)].isEmpty())
            writeListSection(out, recordListDef(ListId(l)), first.lists[size_t(l)],
                             [] { return QStringLiteral("00000000-0000-0000-0000-000000000000"); });
    const QByteArray bytes = out.toBytes();

    Declaration second;
    try {
        XmlDocument again;
        again.loadFromBytes(bytes, "written.xml");
        second = readDeclaration(again);
    } catch (const std::exception &e) {
        fail("the written document does not read back", QString::fromUtf8(e.what()));
    }
    if (windowValues(second) != values)
        fail("basic values differ", QString::fromUtf8(bytes));
    for (int l = 0; l < ListCount; ++l)
        if (second.lists[size_t(l)] != first.lists[size_t(l)])
            fail("list rows differ", QString::fromUtf8(bytes));
    return 0;
}
