// A window state as one short fingerprint, so that the typing helper can log
// every state its window reaches and a test can tell which one a recovery
// copy gave back. Equal states (as operator== sees them: a null text equals
// an empty one) have equal fingerprints.
#pragma once

#include "declaration/recoverycopy.h"

#include <QCryptographicHash>

inline QByteArray stateDigest(const varnok::WindowState &state)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    auto add = [&hash](const QString &text) {
        const QByteArray bytes = text.toUtf8();
        const qint64 size = bytes.size();
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(&size), sizeof size));
        hash.addData(bytes);
    };
    auto addAll = [&add](const QStringList &texts) {
        add(QString::number(texts.size()));
        for (const QString &text : texts)
            add(text);
    };
    add(state.path);
    add(QString::number(state.tab));
    addAll(state.held.basic.keys());
    addAll(state.held.basic.values());
    for (const varnok::ListRows &rows : state.held.lists) {
        add(QString::number(rows.size()));
        for (const QStringList &row : rows)
            addAll(row);
    }
    for (const varnok::EntryState &entry : state.entries) {
        addAll(entry.values);
        add(QStringLiteral("%1 %2").arg(entry.editing).arg(entry.row));
    }
    return hash.result().toHex();
}
