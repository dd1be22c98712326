// Scripted stand-in for message boxes and file dialogs: records what the
// program said and answers from queues, so a test reads like a session.
#pragma once

#include "widgets/prompts.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>

struct FakePrompts : varnok::Prompts {
    struct Entry {
        QString kind;      // message, question, error, open, save, savepdf, report
        QString text;      // message text, or dialog title
        QString folder;    // dialogs: initial folder
        QString proposed;  // save dialog: proposed file name
    };
    QList<Entry> log;
    QList<bool> answers;                       // questions; No when empty
    QStringList files;                         // dialogs; cancelled when empty
    QList<int> choices;                        // check reports: the line chosen; closed (-1) when empty
    QList<QList<varnok::ReportLine>> reports;  // every check report shown
    std::function<void(const Entry &)> onPrompt;

    void record(const Entry &e)
    {
        log.append(e);
        if (onPrompt)
            onPrompt(e);
    }
    void message(QWidget *, const QString &text) override { record({"message", text, {}, {}}); }
    bool question(QWidget *, const QString &text) override
    {
        record({"question", text, {}, {}});
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void error(QWidget *, const QString &text) override { record({"error", text, {}, {}}); }
    QString openFileName(QWidget *, const QString &folder) override
    {
        record({"open", {}, folder, {}});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &title, const QString &folder, const QString &proposed) override
    {
        record({"save", title, folder, proposed});
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    QString savePdfFileName(QWidget *, const QString &folder, const QString &proposed) override
    {
        record({"savepdf", {}, folder, proposed});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    int checkReport(QWidget *, const QList<varnok::ReportLine> &lines) override
    {
        reports.append(lines);
        record({"report", {}, {}, {}});
        return choices.isEmpty() ? -1 : choices.takeFirst();
    }

    QString folderName(QWidget *, const QString &title, const QString &folder) override
    {
        record({"folder", title, folder, {}});
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    // Several files are one entry of files, separated by new lines.
    QStringList openFileNames(QWidget *, const QString &title, const QString &folder) override
    {
        record({"openmany", title, folder, {}});
        return files.isEmpty() ? QStringList() : files.takeFirst().split('\n');
    }
    QString saveExportName(QWidget *, const QString &title, const QString &folder, const QString &proposed,
                           const QString &, const QString &) override
    {
        record({"export", title, folder, proposed});
        return files.isEmpty() ? QString() : files.takeFirst();
    }

    QStringList texts(const QString &kind) const
    {
        QStringList out;
        for (const Entry &e : log)
            if (e.kind == kind)
                out << e.text;
        return out;
    }
    QStringList messages() const { return texts("message"); }
    QStringList errors() const { return texts("error"); }
    QStringList questions() const { return texts("question"); }
    void clear() { log.clear(); }
};
