// Fills the example declaration into the real window, adds texts that test
// the writer (characters outside GB2312, XML's special characters, line
// breaks in a memo), saves it through the window's own 保存 and compares the
// file with the expected one, its record ids aside (they are new GUIDs on
// every save). The same expected file holds for the Linux and the Windows
// build: the same window writes the same bytes everywhere.
//
//   varnok_savedeclaration EXPECTED_FILE          compare; 0 when equal
//   varnok_savedeclaration --write EXPECTED_FILE  write the expected file
#include "exampledeclaration.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace example;

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool write = args.value(1) == QLatin1String("--write");
    const QString expected = args.value(write ? 2 : 1);
    if (expected.isEmpty())
        die(QStringLiteral("usage: varnok_savedeclaration [--write] EXPECTED_FILE"));

    FakePrompts prompts;
    TForm1 form(prompts);
    fillDeclaration(form, prompts);
    Filler f(form, prompts);
    f.fill({{"W_name", "王堃"}, {"W_zhy", "给排水 & <暖通> \"工程\"·——"}});
    f.add({{"W_wkpart", "喆😀设计院"},
           {"W_wktms", "2001-01-01"},
           {"W_wktme", "2002-01-01"},
           {"W_wkmemo", "第一行\n第二行\t制表\n\n第四行 ・ ―"}},
          &TForm1::Button15Click, "W_wkgrid");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("申报资料.xml"));
    prompts.files << path;
    form.Button6Click();
    QFile saved(path);
    if (!saved.open(QIODevice::ReadOnly))
        die(QStringLiteral("nothing was saved: %1").arg((prompts.messages() + prompts.errors()).join(u' ')));
    static const QRegularExpression ids(QStringLiteral("id=\"[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\""));
    QByteArray bytes = saved.readAll();
    bytes = QString::fromLatin1(bytes).replace(ids, QStringLiteral("id=\"ID\"")).toLatin1();

    QFile file(expected);
    if (write) {
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            die(QStringLiteral("cannot write %1").arg(expected));
        return 0;
    }
    if (!file.open(QIODevice::ReadOnly))
        die(QStringLiteral("cannot read %1").arg(expected));
    const QByteArray wanted = file.readAll();
    if (bytes != wanted) {
        qsizetype at = 0;
        while (at < qMin(bytes.size(), wanted.size()) && bytes[at] == wanted[at])
            ++at;
        std::fprintf(stderr, "the saved file differs from %s at byte %lld (%lld bytes against %lld)\n",
                     qPrintable(expected), static_cast<long long>(at), static_cast<long long>(bytes.size()),
                     static_cast<long long>(wanted.size()));
        return 1;
    }
    std::printf("the saved file equals %s byte for byte (%lld bytes)\n", qPrintable(expected),
                static_cast<long long>(bytes.size()));
    return 0;
}
