#include "xmlparts.h"

#include "xml/xmlparse.h"

#include <libxml/parser.h>

#include <cstring>
#include <vector>

namespace varnok {

int XmlNames::id(const QByteArray &utf8)
{
    const auto found = ids_.constFind(utf8);
    if (found != ids_.constEnd())
        return *found;
    const int next = int(names_.size());
    ids_.insert(utf8, next);
    names_.append(utf8);
    return next;
}

QString XmlPart::textOf(qsizetype start, qsizetype end) const
{
    return xmlparse::fromXml(text.constData() + start, end - start);
}

namespace {

// Depths below the root element: 1 a part, 2 a record, 3 a field.
enum Depth { RootDepth = 0, PartDepth = 1, RecordDepth = 2, FieldDepth = 3 };

// The reader's state while libxml2 reports the document. Texts are kept as
// the loaded document keeps them: a run of character data is one text
// (a comment, a processing instruction, a CDATA section or an element ends
// it), and a text of blanks only is layout, dropped, in an element that has
// element children.
class PartReader {
public:
    PartReader(XmlNames &names, const PartHandler &onPart) : names_(names), onPart_(onPart) {}

    bool tooLong() const { return tooLong_; }

    void startElement(const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri)
    {
        endRun();
        if (!open_.empty()) {
            Open &parent = open_.back();
            if (!parent.hasElementChild) {
                // The parent is made of elements: its blanks so far were layout.
                parent.hasElementChild = true;
                parent.longBlank = false;
                for (auto it = parent.blanks.rbegin(); it != parent.blanks.rend(); ++it)
                    part_.text.remove(it->first, it->second);
                parent.blanks.clear();
            }
        }
        open_.push_back({});
        const int depth = int(open_.size()) - 1;
        if (depth < PartDepth || depth > FieldDepth)
            return;
        // An undeclared prefix stays part of the name, as the document keeps it.
        QByteArray name(reinterpret_cast<const char *>(localname));
        if (prefix && !uri)
            name = QByteArray(reinterpret_cast<const char *>(prefix)) + ':' + name;
        const int id = names_.id(name);
        if (depth == PartDepth) {
            part_ = XmlPart{};
            part_.name = id;
        } else if (depth == RecordDepth) {
            part_.records.append({id, part_.text.size(), part_.text.size(), {}});
        } else {
            part_.records.back().fields.append({id, part_.text.size(), part_.text.size()});
        }
    }

    void endElement()
    {
        endRun();
        const Open &closing = open_.back();
        if (!closing.hasElementChild && closing.longBlank)
            tooLong_ = true;
        const int depth = int(open_.size()) - 1;
        open_.pop_back();
        if (depth == PartDepth) {
            if (!tooLong_)
                onPart_(part_);
            part_ = XmlPart{};
        } else if (depth == RecordDepth) {
            part_.records.back().end = part_.text.size();
        } else if (depth == FieldDepth) {
            part_.records.back().fields.back().end = part_.text.size();
        }
    }

    void text(const xmlChar *chars, int length, bool cdata)
    {
        if (open_.empty())
            return;
        const RunKind kind = cdata ? CData : Text;
        if (run_ != kind) {
            endRun();
            run_ = kind;
            runStart_ = part_.text.size();
            runBytes_ = runChars_ = 0;
            runBlank_ = true;
        }
        const char *bytes = reinterpret_cast<const char *>(chars);
        runBytes_ += length;
        for (int i = 0; i < length; ++i) {
            const char c = bytes[i];
            runChars_ += (c & 0xC0) != 0x80;
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                runBlank_ = false;
        }
        if (buffering())
            part_.text.append(bytes, length);
    }

    // A comment or processing instruction: a node of its own between texts.
    void otherNode()
    {
        if (!open_.empty())
            endRun();
    }

private:
    enum RunKind { NoRun, Text, CData };
    struct Open {
        bool hasElementChild = false;
        bool longBlank = false;                               // a blank text too long, should it stay
        std::vector<std::pair<qsizetype, qsizetype>> blanks;  // blank texts kept so far: start, length
    };

    // Texts inside a record are kept; above it only their length matters.
    bool buffering() const { return int(open_.size()) - 1 >= RecordDepth && !tooLong_; }

    void endRun()
    {
        if (run_ == NoRun)
            return;
        Open &in = open_.back();
        const bool kept = buffering();
        const bool over = runBytes_ > XmlDocument::MaxTextLength && runChars_ > XmlDocument::MaxTextLength;
        if (run_ == Text && runBlank_) {
            if (in.hasElementChild) {
                if (kept)
                    part_.text.truncate(runStart_);
            } else {
                if (kept)
                    in.blanks.emplace_back(runStart_, part_.text.size() - runStart_);
                in.longBlank = in.longBlank || over;
            }
        } else if (over) {
            tooLong_ = true;
        }
        run_ = NoRun;
    }

    XmlNames &names_;
    const PartHandler &onPart_;
    std::vector<Open> open_;
    XmlPart part_;
    RunKind run_ = NoRun;
    qsizetype runStart_ = 0, runBytes_ = 0, runChars_ = 0;
    bool runBlank_ = true;
    bool tooLong_ = false;
};

PartReader &reader(void *context) { return *static_cast<PartReader *>(xmlparse::readerOf(context)); }

void onStart(void *ctx, const xmlChar *localname, const xmlChar *prefix, const xmlChar *uri, int, const xmlChar **, int,
             int, const xmlChar **)
{
    xmlparse::sawRoot(ctx);
    reader(ctx).startElement(localname, prefix, uri);
}
void onEnd(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) { reader(ctx).endElement(); }
void onCharacters(void *ctx, const xmlChar *chars, int length) { reader(ctx).text(chars, length, false); }
void onCData(void *ctx, const xmlChar *chars, int length) { reader(ctx).text(chars, length, true); }
void onComment(void *ctx, const xmlChar *) { reader(ctx).otherNode(); }
void onInstruction(void *ctx, const xmlChar *, const xmlChar *) { reader(ctx).otherNode(); }
void onReference(void *ctx, const xmlChar *) { reader(ctx).otherNode(); }

// Callbacks that build nothing; the rest (entities, errors) stay libxml2's.
void partHandlers(xmlSAXHandler &sax)
{
    sax.startDocument = nullptr;
    sax.endDocument = nullptr;
    sax.startElement = nullptr;
    sax.endElement = nullptr;
    sax.startElementNs = onStart;
    sax.endElementNs = onEnd;
    sax.characters = onCharacters;
    sax.ignorableWhitespace = onCharacters;
    sax.cdataBlock = onCData;
    sax.comment = onComment;
    sax.processingInstruction = onInstruction;
    sax.reference = onReference;
}

}  // namespace

void readXmlParts(const QByteArray &bytes, const QString &sourceName, XmlNames &names, const PartHandler &onPart)
{
    PartReader reader(names, onPart);
    xmlparse::parse(bytes, sourceName, partHandlers, &reader);
    if (reader.tooLong())
        throw xmlparse::textTooLong(sourceName);
}

void forEachXmlPart(const XmlDocument &doc, XmlNames &names, const PartHandler &onPart)
{
    for (const XmlElement &element : doc.documentElement().children()) {
        XmlPart part;
        part.name = names.id(element.name().toUtf8());
        for (const XmlElement &child : element.children()) {
            XmlPart::Record record{names.id(child.name().toUtf8()), part.text.size(), 0, {}};
            part.text += child.text().toUtf8();
            record.end = part.text.size();
            for (const XmlElement &field : child.children()) {
                const qsizetype start = part.text.size();
                part.text += field.text().toUtf8();
                record.fields.append({names.id(field.name().toUtf8()), start, part.text.size()});
            }
            part.records.append(record);
        }
        onPart(part);
    }
}

}  // namespace varnok
