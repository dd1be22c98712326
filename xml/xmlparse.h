// Inside the xml layer: the one way a document is parsed, with every
// protection of reading (no network, no DTD, the size limit, GB2312 read as
// code page 936 and GB18030, libxml2's message for an error), for the loader
// that builds the document and for readers that build none.
#pragma once

#include "xml/xmldocument.h"

struct _xmlSAXHandler;

namespace varnok::xmlparse {

struct Parsed {
    _xmlDoc *doc;  // null for a reader that builds none
    bool gbLabel;  // declared GB2312
};

// Parsed as a document when handlers is null; otherwise handlers sets the
// callbacks of a reader, which find the reader given here with readerOf()
// and must call sawRoot() at the root element. Throws XmlError.
Parsed parse(const QByteArray &bytes, const QString &sourceName, void (*handlers)(_xmlSAXHandler &), void *reader);
void *readerOf(void *context);
void sawRoot(void *context);

// The refusal of a text longer than any value of the format.
XmlError textTooLong(const QString &sourceName);

// UTF-8 from libxml2 as a value: a byte-order mark at its start is a
// character like any other.
QString fromXml(const char *utf8, qsizetype size);

}  // namespace varnok::xmlparse
