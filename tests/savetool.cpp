// A child process for tests that need one: saving under another user, into
// a full disk, or while being killed.
//   savetool save <path> <text>         save a small document holding text
//   savetool loop <path> <kilobytes>    save two large documents in turn, forever
//   savetool open <path>                load a document, print its element count
#include "xml/xmldocument.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

using namespace varnok;

namespace {

XmlDocument documentOf(const QString &text, int copies)
{
    XmlDocument doc;
    doc.startAfresh("1.0", "GB2312", "root");
    XmlElement section = doc.documentElement().addChild("工作简历");
    for (int i = 0; i < copies; ++i)
        section.addChild("备注").setText(text);
    return doc;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);  // a full disk shows as a failed write
#endif
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    try {
        if (args[1] == "save") {
            documentOf(args.value(3), 1).save(args[2]);
        } else if (args[1] == "loop") {
            const int copies = qMax(1, args.value(3).toInt() * 1024 / 64);
            const XmlDocument a = documentOf(QString(40, u'甲'), copies);
            const XmlDocument b = documentOf(QString(40, u'乙'), copies);
            std::printf("ready\n");
            std::fflush(stdout);
            for (unsigned long i = 0;; ++i)
                (i % 2 ? b : a).save(args[2]);
        } else if (args[1] == "open") {
            XmlDocument doc;
            doc.loadFromFile(args[2]);
            std::printf("%d\n", doc.documentElement().childCount());
        } else {
            return 2;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
