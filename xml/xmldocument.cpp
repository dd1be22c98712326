#include "xmldocument.h"

#include "xml/gbcodec.h"
#include "xml/safewrite.h"
#include "xml/xmlparse.h"
#include "xml/xmltext.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <vector>

namespace varnok {

ListIndexError::ListIndexError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")")
{
}

namespace {

const xmlChar *cast(const QByteArray &bytes) { return reinterpret_cast<const xmlChar *>(bytes.constData()); }

// QString::fromUtf8 drops a byte-order mark at the start; in a value it is a
// character (U+FEFF) like any other.
QString fromXml(const xmlChar *text)
{
    if (!text)
        return {};
    const char *utf8 = reinterpret_cast<const char *>(text);
    return xmlparse::fromXml(utf8, qsizetype(strlen(utf8)));
}

QString takeXml(xmlChar *text)
{
    QString result = fromXml(text);
    xmlFree(text);
    return result;
}

// External entities and DTDs are never fetched, whatever the URL scheme.
xmlParserInputPtr refuseExternalEntity(const char *, const char *, xmlParserCtxtPtr) { return nullptr; }

void initialiseLibxml()
{
    static const bool done = [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(refuseExternalEntity);
        registerChineseEncodings();
        return true;
    }();
    (void)done;
}

struct ParseState {
    void *reader = nullptr;  // a reader that builds no document, and
    bool sawRoot = false;    // whether it met a root element
    bool hasError = false;
    int domain = 0;
    int code = 0;
    int line = 0;
    QString message;
    bool sawDoctype = false;
};

void collectError(void *userData, xmlErrorPtr error)
{
    auto *state = static_cast<ParseState *>(userData);
    if (state->hasError || error == nullptr || error->level < XML_ERR_ERROR)
        return;
    state->hasError = true;
    state->domain = error->domain;
    state->code = error->code;
    state->line = error->line;
    state->message = QString::fromUtf8(error->message ? error->message : "").trimmed();
}

// The format needs no DTD; a document that brings one is refused at once,
// before any of its declarations are looked at.
void refuseDoctype(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    static_cast<ParseState *>(ctxt->_private)->sawDoctype = true;
    xmlStopParser(ctxt);
}

// The declared encoding, or an empty text when the bytes start with a byte
// order mark or carry no declaration.
QString declaredEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return {};
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0 || end > 512)
        return {};
    static const QRegularExpression re(QStringLiteral("encoding\\s*=\\s*[\"']([A-Za-z0-9._-]+)[\"']"));
    const auto match = re.match(QString::fromLatin1(bytes.left(end)));
    return match.hasMatch() ? match.captured(1) : QString();
}

XmlError tooLarge(const QString &source)
{
    return XmlError(QStringLiteral("文件“%1”超过 %2 MB，不是本程序的申报资料，拒绝读取。")
                        .arg(source)
                        .arg(XmlDocument::MaxFileSize / (1024 * 1024)));
}

bool isElement(const xmlNode *node) { return node->type == XML_ELEMENT_NODE; }

bool hasElementChild(const xmlNode *node)
{
    for (const xmlNode *c = node->children; c; c = c->next)
        if (isElement(c))
            return true;
    return false;
}

// Whitespace between elements is layout only: remove it, so that counts and
// positions see elements. The value of a leaf element is kept, blanks and all.
// Returns false when a text is longer than any value of the format can be.
bool dropLayoutWhitespace(xmlNodePtr root)
{
    std::vector<xmlNodePtr> stack{root};
    while (!stack.empty()) {
        xmlNodePtr node = stack.back();
        stack.pop_back();
        const bool structural = hasElementChild(node);
        for (xmlNodePtr c = node->children; c;) {
            xmlNodePtr next = c->next;
            if (structural && c->type == XML_TEXT_NODE && xmlIsBlankNode(c)) {
                xmlUnlinkNode(c);
                xmlFreeNode(c);
            } else if (isElement(c)) {
                stack.push_back(c);
            } else if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content &&
                       xmlStrlen(c->content) > XmlDocument::MaxTextLength &&
                       xmlUTF8Strlen(c->content) > XmlDocument::MaxTextLength) {
                return false;
            }
            c = next;
        }
    }
    return true;
}

// libxml2 writes LF; the file format wants CR LF. The conversion runs on code
// units, so a UTF-16 document is not torn apart.
QByteArray toCrLf(const char *in, qsizetype size, const QString &encoding)
{
    const QString enc = encoding.toUpper();
    if (enc.startsWith(QLatin1String("UTF-32")) || enc.startsWith(QLatin1String("UCS-4")))
        return QByteArray(in, size);
    if (enc.startsWith(QLatin1String("UTF-16")) || enc.startsWith(QLatin1String("UCS-2"))) {
        bool bigEndian = enc.endsWith(QLatin1String("BE"));
        if (size >= 2 && in[0] == '\xFE' && in[1] == '\xFF')
            bigEndian = true;
        else if (size >= 2 && in[0] == '\xFF' && in[1] == '\xFE')
            bigEndian = false;
        const char lf[2] = {bigEndian ? '\0' : '\n', bigEndian ? '\n' : '\0'};
        const char cr[2] = {bigEndian ? '\0' : '\r', bigEndian ? '\r' : '\0'};
        QByteArray out;
        out.reserve(size + size / 8);
        for (qsizetype i = 0; i + 1 < size; i += 2) {
            if (in[i] == lf[0] && in[i + 1] == lf[1])
                out.append(cr, 2);
            out.append(in + i, 2);
        }
        return out;
    }
    qsizetype lines = 0;
    for (qsizetype i = 0; i < size; ++i)
        lines += in[i] == '\n';
    QByteArray out(size + lines, Qt::Uninitialized);
    char *to = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (in[i] == '\n')
            *to++ = '\r';
        *to++ = in[i];
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------- XmlElement

QString XmlElement::name() const { return fromXml(node_->name); }

int XmlElement::childCount() const
{
    int count = 0;
    for (const xmlNode *c = node_->children; c; c = c->next)
        if (isElement(c))
            ++count;
    return count;
}

XmlElement XmlElement::child(int index) const
{
    int i = 0;
    if (index >= 0)
        for (xmlNode *c = node_->children; c; c = c->next)
            if (isElement(c) && i++ == index)
                return XmlElement(c);
    throw ListIndexError(index);
}

QList<XmlElement> XmlElement::children() const
{
    QList<XmlElement> out;
    for (xmlNode *c = node_->children; c; c = c->next)
        if (isElement(c))
            out.append(XmlElement(c));
    return out;
}

XmlElement XmlElement::firstChild(const QString &name) const
{
    const QByteArray wanted = name.toUtf8();
    for (xmlNode *c = node_->children; c; c = c->next)
        if (isElement(c) && xmlStrEqual(c->name, cast(wanted)))
            return XmlElement(c);
    return XmlElement();
}

bool XmlElement::removeFirstChild(const QString &name)
{
    XmlElement found = firstChild(name);
    if (found.isNull())
        return false;
    xmlUnlinkNode(found.node_);
    xmlFreeNode(found.node_);
    return true;
}

XmlElement XmlElement::addChild(const QString &name)
{
    xmlNodePtr child = xmlNewDocNode(node_->doc, nullptr, cast(name.toUtf8()), nullptr);
    return XmlElement(xmlAddChild(node_, child));
}

QString XmlElement::text() const
{
    const xmlNode *only = node_->children;
    if (only == nullptr)
        return {};
    if (only->next == nullptr && only->type == XML_TEXT_NODE)
        return fromXml(only->content);  // the usual value: read in place
    return takeXml(xmlNodeGetContent(node_));
}

bool XmlElement::hasName(const QByteArray &utf8) const { return xmlStrEqual(node_->name, cast(utf8)); }

namespace {

// A value XML 1.0 cannot hold would make a file that no reader opens again:
// refuse it before anything is written.
void requireXmlText(const QString &text, const QString &where)
{
    const qsizetype at = firstNonXmlCharacter(text);
    if (at < 0)
        return;
    const QString code = QString::number(text[at].unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    throw XmlError(QStringLiteral("“%1”的内容第 %2 个字符（U+%3）无法保存到文件，请删去它后再保存。")
                       .arg(where, QString::number(at + 1), code));
}

}  // namespace

void XmlElement::setText(const QString &text)
{
    requireXmlText(text, name());
    while (node_->children) {
        xmlNodePtr c = node_->children;
        xmlUnlinkNode(c);
        xmlFreeNode(c);
    }
    if (!text.isEmpty()) {
        const QByteArray utf8 = text.toUtf8();
        xmlNodeAddContentLen(node_, cast(utf8), int(utf8.size()));
    }
}

int XmlElement::attributeCount() const
{
    int count = 0;
    for (const xmlAttr *a = node_->properties; a; a = a->next)
        ++count;
    return count;
}

QString XmlElement::attributeValue(int index) const
{
    int i = 0;
    if (index >= 0)
        for (xmlAttr *a = node_->properties; a; a = a->next)
            if (i++ == index)
                return takeXml(xmlNodeListGetString(node_->doc, a->children, 1));
    throw ListIndexError(index);
}

QString XmlElement::attribute(const QString &name) const { return takeXml(xmlGetProp(node_, cast(name.toUtf8()))); }

void XmlElement::setAttribute(const QString &name, const QString &value)
{
    requireXmlText(value, this->name() + QLatin1Char(' ') + name);
    xmlSetProp(node_, cast(name.toUtf8()), cast(value.toUtf8()));
}

// --------------------------------------------------------------- XmlDocument

XmlDocument::XmlDocument()
{
    initialiseLibxml();
    doc_ = xmlNewDoc(BAD_CAST "1.0");
}

XmlDocument::~XmlDocument()
{
    if (doc_)
        xmlFreeDoc(doc_);
}

XmlDocument::XmlDocument(XmlDocument &&other) noexcept : doc_(other.doc_) { other.doc_ = nullptr; }

XmlDocument &XmlDocument::operator=(XmlDocument &&other) noexcept
{
    std::swap(doc_, other.doc_);
    return *this;
}

void XmlDocument::adopt(_xmlDoc *doc)
{
    if (doc_)
        xmlFreeDoc(doc_);
    doc_ = doc;
}

namespace {

// The bytes handed to libxml2 piece by piece, so that it neither copies them
// whole nor decodes them whole before parsing.
struct ByteSource {
    const QByteArray &bytes;
    qsizetype at = 0;
};

int readBytes(void *context, char *buffer, int length)
{
    auto *source = static_cast<ByteSource *>(context);
    const qsizetype n = qMin<qsizetype>(length, source->bytes.size() - source->at);
    memcpy(buffer, source->bytes.constData() + source->at, size_t(n));
    source->at += n;
    return int(n);
}

int closeBytes(void *) { return 0; }

}  // namespace

}  // namespace varnok

namespace varnok::xmlparse {

void *readerOf(void *context)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(context);
    return static_cast<ParseState *>(ctxt->_private)->reader;
}

void sawRoot(void *context)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(context);
    static_cast<ParseState *>(ctxt->_private)->sawRoot = true;
}

Parsed parse(const QByteArray &bytes, const QString &sourceName, void (*handlers)(xmlSAXHandler &), void *reader)
{
    initialiseLibxml();
    if (bytes.size() > XmlDocument::MaxFileSize)
        throw tooLarge(sourceName);

    // Windows programs write code page 936 under the label "GB2312": such
    // files are read with the decoder of the whole of GB18030 (xml/gbcodec.h),
    // so characters beyond GB2312 open.
    const QString declared = declaredEncoding(bytes);
    const bool gbLabel = declared.compare(QLatin1String("GB2312"), Qt::CaseInsensitive) == 0;
    // Every text is built; the walk after parsing removes blank text between
    // elements. (libxml2's own blank removal guesses from the next character
    // and took the blanks before a character reference out of a value.)
    int options = XML_PARSE_NONET;
    const char *encoding = nullptr;
    if (gbLabel) {
        options |= XML_PARSE_IGNORE_ENC;
        encoding = Gb2312Label;
    }

    ParseState state;
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (ctxt == nullptr)
        throw XmlError(QStringLiteral("内存不足，无法读取文件“%1”。").arg(sourceName));
    ctxt->_private = &state;
    ctxt->sax->internalSubset = refuseDoctype;
    ctxt->sax->externalSubset = refuseDoctype;
    if (handlers) {
        handlers(*ctxt->sax);
        state.reader = reader;
    }

    xmlStructuredErrorFunc oldStructured = xmlStructuredError;
    void *oldStructuredContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(&state, collectError);

    const QByteArray url = sourceName.toUtf8();
    ByteSource source{bytes};
    xmlDocPtr doc = xmlCtxtReadIO(ctxt, readBytes, closeBytes, &source, url.constData(), encoding, options);
    const bool wellFormed = ctxt->wellFormed != 0;
    xmlFreeParserCtxt(ctxt);

    xmlSetStructuredErrorFunc(oldStructuredContext, oldStructured);

    if (doc && (doc->intSubset || doc->extSubset))
        state.sawDoctype = true;
    const bool hasRoot = handlers ? state.sawRoot : doc != nullptr && xmlDocGetRootElement(doc) != nullptr;
    if (state.sawDoctype || !wellFormed || (!handlers && doc == nullptr) || !hasRoot) {
        if (doc)
            xmlFreeDoc(doc);
        if (state.sawDoctype)
            throw XmlError(
                QStringLiteral("文件“%1”含有文档类型定义（DOCTYPE），申报资料不使用它，拒绝读取。").arg(sourceName));
        const bool encodingProblem = state.domain == XML_FROM_I18N || state.code == XML_ERR_INVALID_ENCODING ||
                                     state.code == XML_ERR_UNSUPPORTED_ENCODING ||
                                     state.message.startsWith(QLatin1String("Input is not proper UTF-8"));
        if (encodingProblem)
            throw XmlError(
                QStringLiteral("文件“%1”的字节与其声明的编码（%2）不符，无法读取：%3")
                    .arg(sourceName, declared.isEmpty() ? QStringLiteral("UTF-8") : declared, state.message));
        QString message = state.hasError ? state.message : QStringLiteral("文件为空或不是XML文档");
        if (state.line > 0)
            throw XmlError(QStringLiteral("文件“%1”第 %2 行有错误：%3").arg(sourceName).arg(state.line).arg(message));
        throw XmlError(QStringLiteral("文件“%1”有错误：%2").arg(sourceName, message));
    }
    return {doc, gbLabel};
}

XmlError textTooLong(const QString &sourceName)
{
    return XmlError(QStringLiteral("文件“%1”中有一段文字超过 %2 个字符，不是本程序的申报资料，拒绝读取。")
                        .arg(sourceName)
                        .arg(XmlDocument::MaxTextLength));
}

QString fromXml(const char *utf8, qsizetype size)
{
    QString text;
    if (size < 3 || qstrncmp(utf8, "\xEF\xBB\xBF", 3) != 0) {
        text = QString::fromUtf8(utf8, size);
    } else {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        text = decoder(QByteArrayView(utf8, size));
    }
    // The decoder reserves room for a code unit per byte: Chinese text would
    // keep three times the memory it needs for as long as the value lives.
    if (text.capacity() > text.size() + text.size() / 8 + 8)
        text.squeeze();
    return text;
}

}  // namespace varnok::xmlparse

namespace varnok {

void XmlDocument::loadFromBytes(const QByteArray &bytes, const QString &sourceName)
{
    const xmlparse::Parsed parsed = xmlparse::parse(bytes, sourceName, nullptr, nullptr);
    xmlDocPtr doc = parsed.doc;
    if (!dropLayoutWhitespace(xmlDocGetRootElement(doc))) {
        xmlFreeDoc(doc);
        throw xmlparse::textTooLong(sourceName);
    }
    if (parsed.gbLabel) {
        xmlFree(const_cast<xmlChar *>(doc->encoding));
        doc->encoding = xmlStrdup(BAD_CAST "GB2312");
    }
    adopt(doc);
}

void XmlDocument::loadFromFile(const QString &path) { loadFromBytes(readFile(path), path); }

QByteArray XmlDocument::readFile(const QString &path)
{
    QFile file(path);
    const QFileInfo info(path);
    if (info.exists() && info.size() > MaxFileSize)
        throw tooLarge(path);
    if (!file.open(QIODevice::ReadOnly))
        throw XmlError(QStringLiteral("无法打开文件“%1”：%2").arg(path, file.errorString()));
    // As much as the file holds, and on to one byte past the limit should it
    // grow meanwhile, so such a file is still caught. (A buffer of the limit's
    // size for every read would cost more than the read.)
    // Read into a buffer of that size: QIODevice::read(n) grows its own
    // buffer past it.
    const qint64 wanted = qMin(file.size(), MaxFileSize) + 1;
    QByteArray bytes(wanted, Qt::Uninitialized);
    const qint64 got = file.read(bytes.data(), wanted);
    bytes.truncate(qMax<qint64>(got, 0));
    if (bytes.size() > file.size() && bytes.size() <= MaxFileSize)
        bytes += file.read(MaxFileSize + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError)
        throw XmlError(QStringLiteral("无法读取文件“%1”：%2").arg(path, file.errorString()));
    if (bytes.size() > MaxFileSize)
        throw tooLarge(path);
    return bytes;
}

void XmlDocument::startAfresh(const QString &version, const QString &encoding, const QString &rootName)
{
    xmlDocPtr doc = xmlNewDoc(cast(version.toUtf8()));
    xmlDocSetRootElement(doc, xmlNewDocNode(doc, nullptr, cast(rootName.toUtf8()), nullptr));
    adopt(doc);
    setDeclaration(version, encoding);
}

void XmlDocument::setDeclaration(const QString &version, const QString &encoding)
{
    xmlFree(const_cast<xmlChar *>(doc_->version));
    doc_->version = xmlStrdup(cast(version.toUtf8()));
    xmlFree(const_cast<xmlChar *>(doc_->encoding));
    doc_->encoding = encoding.isEmpty() ? nullptr : xmlStrdup(cast(encoding.toUtf8()));
    doc_->standalone = -1;
}

QByteArray XmlDocument::toBytes() const
{
    const QString enc = encoding();
    const QByteArray encName = enc.toUtf8();
    xmlTreeIndentString = "\t";
    xmlBufferPtr buffer = xmlBufferCreate();
    // Grown by doubling: growing it by each piece written copies a large
    // document over and over.
    xmlBufferSetAllocationScheme(buffer, XML_BUFFER_ALLOC_DOUBLEIT);
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer, enc.isEmpty() ? nullptr : encName.constData(), XML_SAVE_FORMAT);
    if (save == nullptr) {
        xmlBufferFree(buffer);
        throw XmlError(QStringLiteral("不支持的文件编码“%1”，无法保存。").arg(enc));
    }
    const long written = xmlSaveDoc(save, doc_);
    xmlSaveClose(save);
    const QByteArray bytes =
        written < 0 ? QByteArray()
                    : toCrLf(reinterpret_cast<const char *>(xmlBufferContent(buffer)), xmlBufferLength(buffer), enc);
    xmlBufferFree(buffer);
    if (written < 0)
        throw XmlError(QStringLiteral("文档无法按编码“%1”写出。").arg(enc));
    return bytes;
}

void XmlDocument::save(const QString &path) const { writeFileSafely(path, toBytes()); }

XmlElement XmlDocument::documentElement() const { return XmlElement(xmlDocGetRootElement(doc_)); }

QString XmlDocument::encoding() const { return fromXml(doc_->encoding); }

}  // namespace varnok
