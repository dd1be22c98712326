// varnok-check: the employer's desk on the command line. Checks every
// declaration the paths name (a file, or a folder with its sub-folders) as
// "检查" does, prints one line per file and the counts, and writes the table
// as CSV or as an Excel workbook on request.
//
//   varnok-check [--csv FILE] [--xlsx FILE] PATH...
//
// Exit status: 0 every file passed, 1 a file has a problem or cannot be read
// (or a table could not be written), 2 a usage error.
#include "desk/deskcheck.h"
#include "desk/deskexport.h"
#include "platform/console.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLocale>
#include <exception>

using namespace varnok;

namespace {

const QString Usage =
    QStringLiteral("用法：varnok-check [--csv 文件] [--xlsx 文件] 路径...\n"
                   "检查申报资料：每个路径是一个申报文件，或一个文件夹（连同其中各级子文件夹里的 *.xml 文件）。\n"
                   "每个文件显示一行（文件、姓名、证件号码、结果和问题），最后一行是合计。\n"
                   "只读取申报文件，不写入任何内容。\n"
                   "\n"
                   "  --csv 文件    把结果表保存为 CSV 文件（UTF-8，带字节顺序标记）\n"
                   "  --xlsx 文件   把结果表保存为 Excel 工作簿\n"
                   "  -h, --help    显示本说明\n"
                   "\n"
                   "退出码：0 全部通过；1 有文件有问题或无法读取，或结果表无法保存；2 用法错误。\n");

void out(const QString &text) { platform::writeConsole(text.toStdString(), false); }
void err(const QString &text) { platform::writeConsole(text.toStdString(), true); }

int usageError(const QString &why)
{
    err(QStringLiteral("varnok-check：%1\n\n").arg(why) + Usage);
    return 2;
}

QString dash(const QString &text) { return text.trimmed().isEmpty() ? QStringLiteral("—") : text; }

QString line(const DeskRow &row)
{
    QString verdict = row.verdict();
    if (row.check.readable() && !row.check.problems.empty())
        verdict = QStringLiteral("%1 个问题").arg(row.check.problems.size());
    const QStringList problems = row.problemLines();
    if (!problems.isEmpty())
        verdict += u'：' + problems.join(u'；');
    return QStringList{row.shown, dash(row.check.name), dash(row.check.idNumber), verdict}.join(QStringLiteral("  "));
}

struct Options {
    QString csv, xlsx;
    QStringList paths;
};

// The options, or the usage error's reason in error.
Options parse(QStringList args, QString &error, bool &help)
{
    Options o;
    bool optionsEnd = false;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (optionsEnd || !arg.startsWith(u'-') || arg == u"-") {
            o.paths << arg;
            continue;
        }
        if (arg == u"--") {
            optionsEnd = true;
        } else if (arg == u"-h" || arg == u"--help") {
            help = true;
        } else if (arg.startsWith(QLatin1String("--csv")) || arg.startsWith(QLatin1String("--xlsx"))) {
            const bool csv = arg.startsWith(QLatin1String("--csv"));
            const QString name = csv ? QStringLiteral("--csv") : QStringLiteral("--xlsx");
            QString value;
            if (arg == name) {
                if (args.isEmpty()) {
                    error = QStringLiteral("%1 后面缺少文件名").arg(name);
                    return o;
                }
                value = args.takeFirst();
            } else if (arg.startsWith(name + u'=')) {
                value = arg.mid(name.size() + 1);
            } else {
                error = QStringLiteral("不认识的选项“%1”").arg(arg);
                return o;
            }
            if (value.isEmpty()) {
                error = QStringLiteral("%1 后面缺少文件名").arg(name);
                return o;
            }
            (csv ? o.csv : o.xlsx) = value;
        } else {
            error = QStringLiteral("不认识的选项“%1”").arg(arg);
            return o;
        }
    }
    if (!help && o.paths.isEmpty())
        error = QStringLiteral("没有给出要检查的文件或文件夹");
    return o;
}

int run(const QStringList &args)
{
    QString error;
    bool help = false;
    const Options o = parse(args, error, help);
    if (!error.isEmpty())
        return usageError(error);
    if (help) {
        out(Usage);
        return 0;
    }

    const DeskRun checked = checkDeclarations(o.paths, QDate::currentDate());
    bool failed = false;
    for (const DeskRow &row : checked.rows) {
        out(line(row) + u'\n');
        failed = failed || row.verdict() != VerdictPassed;
    }
    out(deskSummary(checked.rows) + u'\n');
    if (checked.rows.empty()) {
        err(QStringLiteral("varnok-check：没有找到申报资料（*.xml）。\n"));
        failed = true;
    }

    const std::pair<QString, void (*)(const QString &, const std::vector<DeskRow> &)> tables[] = {
        {o.csv, writeDeskCsv}, {o.xlsx, writeDeskWorkbook}};
    for (const auto &[path, write] : tables) {
        if (path.isEmpty())
            continue;
        try {
            write(path, checked.rows);
            out(QStringLiteral("结果表已保存：%1\n").arg(QDir::toNativeSeparators(path)));
        } catch (const std::exception &e) {
            err(QStringLiteral("varnok-check：%1\n").arg(QString::fromUtf8(e.what())));
            failed = true;
        }
    }
    return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("varnok-check"));
    // Names sort as the window sorts them: Chinese by pinyin.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    try {
        return run(QCoreApplication::arguments().mid(1));
    } catch (const std::exception &e) {
        err(QStringLiteral("varnok-check：%1\n").arg(QString::fromUtf8(e.what())));
        return 1;
    }
}
