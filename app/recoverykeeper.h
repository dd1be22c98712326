// Keeps the main window's recovery copy (declaration/recoverycopy.h): every
// interval (ten seconds), when the window holds unsaved changes and what it
// holds differs from the copy last written, the copy is written again; once
// nothing is unsaved (a save, "打开", "新建") or the program ends normally it
// is removed. At start-up, after the splash, it offers the copies of runs
// that did not end normally.
#pragma once

#include "declaration/recoverycopy.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <optional>

namespace varnok {

class Prompts;
class TForm1;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds DefaultInterval{10000};

    // Copies go to folder; the window and the prompts outlive the keeper.
    RecoveryKeeper(TForm1 &form, Prompts &prompts, const QString &folder, QObject *parent = nullptr);
    // The folder in the user's application-data folder.
    static QString defaultFolder();

    void setInterval(std::chrono::milliseconds interval) { timer_.setInterval(interval); }
    std::chrono::milliseconds interval() const { return timer_.intervalAsDuration(); }
    RecoveryFolder &folder() { return folder_; }

    // The question for a copy written then, for this file (empty when none).
    static QString question(const QDateTime &written, const QString &path);

public slots:
    // Each copy left by a run that did not end normally, newest first, until
    // one is taken back: Yes fills the window from it, No keeps it aside; one
    // that cannot be read is kept aside with a message. The rest are kept
    // aside. An error on the way ends in the standard error box.
    void offer();
    // The timer's work: write the copy when something unsaved has changed,
    // remove it when nothing is unsaved.
    void check();

signals:
    // Around each write and removal of the copy.
    void aboutToWrite();
    void written();
    void aboutToRemove();
    void removed();

private:
    void offerCopies();
    void write(const WindowState &state);
    void removeCopy();

    TForm1 &form_;
    Prompts &prompts_;
    RecoveryFolder folder_;
    QTimer timer_;
    std::optional<WindowState> written_;  // what the copy holds
};

}  // namespace varnok
