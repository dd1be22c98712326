// The one place that talks to libxml2. Everything else sees XmlDocument and
// XmlElement, a small DOM: element children only (whitespace between elements
// is dropped on load), text, attributes, and a safe save.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <stdexcept>
#include <string>

struct _xmlDoc;
struct _xmlNode;

namespace varnok {

// Error with a readable message: libxml2's own text for parse errors (with
// file and line), the file system's for write errors.
class XmlError : public std::runtime_error {
public:
    explicit XmlError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Asking for a child or attribute position beyond the count.
class ListIndexError : public std::out_of_range {
public:
    explicit ListIndexError(int index);
};

class XmlElement {
public:
    XmlElement() = default;
    bool isNull() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }

    QString name() const;
    bool hasName(const QByteArray &utf8) const;
    int childCount() const;
    XmlElement child(int index) const;                 // throws ListIndexError
    QList<XmlElement> children() const;                // in document order
    XmlElement firstChild(const QString &name) const;  // null when none
    bool hasChild(const QString &name) const { return !firstChild(name).isNull(); }
    bool removeFirstChild(const QString &name);  // false when none
    XmlElement addChild(const QString &name);    // appended as last child

    QString text() const;  // whole text content
    void setText(const QString &text);

    int attributeCount() const;
    QString attributeValue(int index) const;  // throws ListIndexError
    QString attribute(const QString &name) const;
    void setAttribute(const QString &name, const QString &value);

private:
    friend class XmlDocument;
    explicit XmlElement(_xmlNode *node) : node_(node) {}
    _xmlNode *node_ = nullptr;
};

class XmlDocument {
public:
    // Files bigger than this are refused before they are read.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    // Documents with a longer value are refused; entry fields take this much.
    static constexpr int MaxTextLength = 1000000;

    XmlDocument();  // empty document, version "1.0"
    ~XmlDocument();
    XmlDocument(const XmlDocument &) = delete;
    XmlDocument &operator=(const XmlDocument &) = delete;
    XmlDocument(XmlDocument &&other) noexcept;
    XmlDocument &operator=(XmlDocument &&other) noexcept;

    // Replace the whole content. The encoding is taken from the content; a
    // document declared "GB2312" is decoded as GB18030 (its superset), so
    // files from writers that put GBK bytes under that label still open.
    void loadFromBytes(const QByteArray &bytes, const QString &sourceName);
    void loadFromFile(const QString &path);
    // The bytes of a file as loadFromFile reads them, the size limit
    // included; throws XmlError.
    static QByteArray readFile(const QString &path);

    // Drop everything and start a document with the given declaration and
    // document element.
    void startAfresh(const QString &version, const QString &encoding, const QString &rootName);
    // Keep the content, and write it under this declaration (no standalone
    // declaration) from now on, whatever the loaded file declared.
    void setDeclaration(const QString &version, const QString &encoding);

    // The bytes a save would write: declared encoding, CR LF, TAB per level,
    // characters the encoding lacks as numeric character references.
    QByteArray toBytes() const;
    // Replace the file with a complete new one; on any failure the old file
    // stays as it was and XmlError is thrown.
    void save(const QString &path) const;

    XmlElement documentElement() const;
    QString encoding() const;

private:
    void adopt(_xmlDoc *doc);
    _xmlDoc *doc_ = nullptr;
};

}  // namespace varnok
