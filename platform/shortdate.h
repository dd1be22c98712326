// The switch of the user's short-date format while the program runs, kept so
// that a crash, a killed program or a power cut cannot leave it switched for
// good: the user's own format is written to a file before the switch and
// removed once it is back. A start that finds such a file left by runs that
// have all ended puts that format back first. Several runs at once share the
// file; the last one to end puts the format back.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <string>

namespace varnok::platform {

class ShortDateSwitch {
public:
    // No folder (an empty name): the format is kept in memory only.
    explicit ShortDateSwitch(QString folder);
    // Without end(), as after a crash: the file stays for the next start.
    ~ShortDateSwitch();
    ShortDateSwitch(const ShortDateSwitch &) = delete;
    ShortDateSwitch &operator=(const ShortDateSwitch &) = delete;

    // The folder in the user's application data (recovery copies sit beside it).
    static QString defaultFolder();

    // The user's own format taken (or found kept), and the program's set and
    // announced. The user's own format, empty when none could be read.
    std::string begin(const std::string &programFormat);
    // The user's own format back and announced, unless another run still
    // needs the program's; only a format really read is written back.
    void end();

    const std::optional<std::string> &userFormat() const { return user_; }

private:
    QString keptPath() const;
    // Runs other than this one still going.
    bool othersRunning() const;

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    std::optional<std::string> user_;
};

}  // namespace varnok::platform
