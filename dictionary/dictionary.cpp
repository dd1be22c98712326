#include "dictionary.h"

#include "xml/xmldocument.h"

#include <QFile>
#include <optional>

namespace varnok {

Dictionary Dictionary::parse(const QByteArray &bytes, const QString &sourceName)
{
    XmlDocument doc;
    doc.loadFromBytes(bytes, sourceName);
    Dictionary dictionary;
    const XmlElement root = doc.documentElement();
    const QList<XmlElement> types = root.children();
    for (int i = 0; i < types.size(); ++i) {
        const XmlElement &type = types[i];
        if (type.attributeCount() == 0)
            throw XmlError(QStringLiteral("数据字典“%1”的第 %2 个类型没有名称。").arg(sourceName).arg(i + 1));
        DictType entry{type.attributeValue(0), {}};
        const QList<XmlElement> items = type.children();
        for (int j = 0; j < items.size(); ++j) {
            const XmlElement &item = items[j];
            if (item.attributeCount() == 0)
                throw XmlError(QStringLiteral("数据字典“%1”的类型“%2”中第 %3 项没有代码。")
                                   .arg(sourceName, entry.name)
                                   .arg(j + 1));
            entry.items.push_back({item.attributeValue(0), item.text()});
        }
        dictionary.types_.push_back(std::move(entry));
    }
    return dictionary;
}

Dictionary Dictionary::loadEmbedded()
{
    QFile resource(QStringLiteral(":/SYSDIC"));
    if (!resource.open(QIODevice::ReadOnly))
        throw XmlError(QStringLiteral("找不到内嵌的数据字典（SYSDIC）。"));
    return parse(resource.readAll(), QStringLiteral("SYSDIC"));
}

const Dictionary &Dictionary::embedded()
{
    // A failed parse is not remembered: the next lookup raises the error again.
    static std::optional<Dictionary> cache;
    if (!cache)
        cache = loadEmbedded();
    return *cache;
}

QString Dictionary::itemText(const QString &type, int position) const
{
    QString result;
    for (const DictType &t : types_) {
        if (t.name != type)
            continue;
        for (int j = 0; j < position; ++j) {
            if (j >= int(t.items.size()))
                throw ListIndexError(j);
            result = t.items[size_t(j)].text;
        }
    }
    return result;
}

QString Dictionary::codeOf(const QString &type, const QString &text) const
{
    QString result;
    for (const DictType &t : types_)
        if (t.name == type)
            for (const DictItem &item : t.items)
                if (item.text == text)
                    result = item.code;
    return result;
}

QString Dictionary::textOf(const QString &type, const QString &code) const
{
    QString result;
    for (const DictType &t : types_)
        if (t.name == type)
            for (const DictItem &item : t.items)
                if (item.code == code)
                    result = item.text;
    return result;
}

QString DictItemText(const QString &type, int position) { return Dictionary::embedded().itemText(type, position); }
QString DictCodeOf(const QString &type, const QString &text) { return Dictionary::embedded().codeOf(type, text); }
QString DictTextOf(const QString &type, const QString &code) { return Dictionary::embedded().textOf(type, code); }

}  // namespace varnok
