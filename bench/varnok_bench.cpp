// How fast Varnok opens, saves and starts, each measured beside what libxml2
// alone costs for the same file in the same run. Prints the usual Google
// Benchmark lines, then one table of medians, ratios and targets.
//
//   varnok_bench [--documents=DIR] [--benchmark_filter=...] [other benchmark flags]
//
// The documents (N entries in each of the four lists) are written to DIR, or
// to a temporary folder, before anything is measured.
#include "documents.h"
#include "fakeprompts.h"
#include "hostiledocuments.h"
#include "listcontrols.h"

#include "app/mainwindow.h"
#include "app/recoverykeeper.h"
#include "declaration/declarationfile.h"
#include "desk/deskcheck.h"
#include "dictionary/dictionary.h"
#include "widgets/commandlabel.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

using namespace varnok;
using benchmark::State;

namespace {

const int Sizes[] = {100, 1000, 10000};
QString documentsDir;
// Declarations in a clerk's folder.
const int DeskSizes[] = {100, 1000, 10000};
std::map<int, QStringList> staffFiles;
QString staffFolder(int files) { return documentsDir + QStringLiteral("/staff-%1").arg(files); }

QString documentPath(int n) { return documentsDir + QStringLiteral("/declaration-%1.xml").arg(n); }
QString scratchPath(const char *what, int n) { return documentsDir + QStringLiteral("/%1-%2.xml").arg(what).arg(n); }
int entries(const State &state) { return int(state.range(0)); }

// ------------------------------------------------------------ libxml2 alone

std::string libxmlError(const char *what)
{
    const xmlError *e = xmlGetLastError();
    return std::string("libxml2 could not ") + what + " the document: " + (e && e->message ? e->message : "");
}

// Read from a file descriptor (the program's entity loader refuses every
// URL, xmlReadFile's included) and decoded as the program decodes a document
// declared GB2312: with its superset GB18030.
xmlDocPtr parseFile(const QByteArray &path)
{
    xmlResetLastError();
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return nullptr;
    xmlDocPtr doc = xmlReadFd(fd, path.constData(), "GB18030", XML_PARSE_NONET | XML_PARSE_IGNORE_ENC);
    ::close(fd);
    return doc;
}

size_t textLength(const xmlNode *node)
{
    size_t total = 0;
    for (; node; node = node->next) {
        if (node->type == XML_TEXT_NODE)
            total += size_t(xmlStrlen(node->content));
        total += textLength(node->children);
    }
    return total;
}

void parseAndWalk(State &state)
{
    const QByteArray path = QFile::encodeName(documentPath(entries(state)));
    for (auto _ : state) {
        xmlDocPtr doc = parseFile(path);
        if (!doc) {
            state.SkipWithError(libxmlError("parse").c_str());
            break;
        }
        benchmark::DoNotOptimize(textLength(xmlDocGetRootElement(doc)));
        xmlFreeDoc(doc);
    }
}

void parseAndSerialise(State &state)
{
    const QByteArray path = QFile::encodeName(documentPath(entries(state)));
    const QByteArray out = QFile::encodeName(scratchPath("libxml2-out", entries(state)));
    for (auto _ : state) {
        xmlDocPtr doc = parseFile(path);
        const bool written = doc && xmlSaveFormatFileEnc(out.constData(), doc, "GB2312", 1) > 0;
        xmlFreeDoc(doc);
        if (!written) {
            state.SkipWithError(libxmlError("parse or write").c_str());
            break;
        }
    }
}

// Every file of a clerk's folder parsed (and walked) by libxml2, the list
// of files given.
void parseFiles(State &state)
{
    std::vector<QByteArray> paths;
    for (const QString &path : staffFiles[entries(state)])
        paths.push_back(QFile::encodeName(path));
    for (auto _ : state)
        for (const QByteArray &path : paths) {
            xmlDocPtr doc = parseFile(path);
            if (!doc) {
                state.SkipWithError(libxmlError("parse").c_str());
                return;
            }
            benchmark::DoNotOptimize(textLength(xmlDocGetRootElement(doc)));
            xmlFreeDoc(doc);
        }
}

// ------------------------------------------------------------ the program

// The desk: the folder searched, every declaration read and checked, the
// checks across the files.
void checkFolder(State &state)
{
    const QString folder = staffFolder(entries(state));
    size_t rows = 0, passed = 0;
    for (auto _ : state) {
        const DeskRun run = checkDeclarations({folder}, QDate(2026, 12, 9));
        rows = run.rows.size();
        passed = size_t(std::count_if(run.rows.begin(), run.rows.end(),
                                      [](const DeskRow &r) { return r.verdict() == VerdictPassed; }));
        benchmark::DoNotOptimize(rows);
    }
    if (rows != size_t(entries(state)) || passed != rows)
        state.SkipWithError("the folder did not check whole, or a declaration did not pass");
}

// As "打开" and "检查" read a file.
void readIntoStructs(State &state)
{
    const QString path = documentPath(entries(state));
    size_t rows = 0;
    for (auto _ : state) {
        const Declaration declaration = DeclarationFile::read(path);
        rows = 0;
        for (const ListRows &list : declaration.lists)
            rows += size_t(list.size());
        benchmark::DoNotOptimize(rows);
    }
    if (rows != size_t(ListCount * entries(state)))
        state.SkipWithError("the document did not read back whole");
}

// The real main window, shown offscreen, bound to its own copy of the
// document of n entries per list, with its recovery copy kept as the program
// keeps it. Every benchmark leaves it as it found it.
struct Session {
    FakePrompts prompts;
    TForm1 form{prompts};
    RecoveryKeeper keeper{form, prompts, documentsDir + QStringLiteral("/recovery")};
    int entries;
    QString path;

    explicit Session(int n) : entries(n), path(scratchPath("window", n))
    {
        QFile::remove(path);
        QFile::copy(documentPath(n), path);
        form.show();
        open();
    }
    void open()
    {
        if (form.hasUnsavedChanges())
            prompts.answers << true;
        prompts.files << path;
        form.findChild<CommandLabel *>(QStringLiteral("Label12"))->click();
        QCoreApplication::processEvents();
    }
    bool holds(int n) const
    {
        for (int l = 0; l < ListCount; ++l)
            if (ListControls{&form, ListId(l)}.entryCount() != n)
                return false;
        return form.statusText(1).endsWith(path);
    }
};

// The window of the current N; opening another N closes it first, as the
// program holds one document at a time.
std::unique_ptr<Session> current;

Session &session(int n)
{
    if (!current || current->entries != n) {
        current.reset();
        current = std::make_unique<Session>(n);
    }
    return *current;
}

// Into a window that holds nothing, as after start or "新建"; the
// clearing is measured all the same.
void openIntoWindow(State &state)
{
    Session &s = session(entries(state));
    for (auto _ : state) {
        state.PauseTiming();
        s.form.ClearAllFields();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        s.open();
    }
    if (!s.holds(entries(state)))
        state.SkipWithError("the window does not hold the document");
}

// From the press of the work history's 保存, its tab in front, to the file
// written and the window painted again.
void saveOneList(State &state)
{
    Session &s = session(entries(state));
    auto *tabs = s.form.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    tabs->setCurrentIndex(1);
    QCoreApplication::processEvents();
    QPushButton *save = ListControls{&s.form, WorkHistory}.saveButton();
    for (auto _ : state) {
        state.PauseTiming();
        save->setEnabled(true);
        state.ResumeTiming();
        save->click();
        QCoreApplication::processEvents();
    }
    tabs->setCurrentIndex(0);
    XmlDocument written;
    written.loadFromFile(s.path);
    if (written.documentElement().firstChild(recordListDef(WorkHistory).section).childCount() != entries(state))
        state.SkipWithError("the list was not written whole");
}

// From the press of the first tab's 保存 to the whole declaration written,
// its messages answered and the window painted again.
void saveBasic(State &state)
{
    Session &s = session(entries(state));
    QPushButton *save = s.form.findChild<QPushButton *>(QStringLiteral("Button6"));
    bool saved = true;
    for (auto _ : state) {
        s.prompts.clear();
        save->click();
        QCoreApplication::processEvents();
        saved = saved && s.prompts.messages().value(0) == QStringLiteral("文件保存成功！");
    }
    if (!saved)
        state.SkipWithError("the basic save did not succeed");
}

// Grid operations on the work history list, its tab in front; each includes
// the repaint that follows.
struct OnListTab {
    Session &s;
    ListControls list;
    QTabWidget *tabs;
    explicit OnListTab(int n)
        : s(session(n)), list{&s.form, WorkHistory},
          tabs(s.form.findChild<QTabWidget *>(QStringLiteral("PageControl1")))
    {
        tabs->setCurrentIndex(1);
        QCoreApplication::processEvents();
    }
    ~OnListTab() { tabs->setCurrentIndex(0); }
    void click(int column, int row)
    {
        list.grid()->setCurrentCell(column, row);
        s.form.W_wkgridClick();
    }
};

void gridAdd(State &state)
{
    const int n = entries(state);
    OnListTab tab(n);
    const QStringList entry = bench::generatedRows(WorkHistory, 1).front();
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < entry.size(); ++i)
            setControlValue(tab.list.field(i), entry[i]);
        state.ResumeTiming();
        tab.s.form.Button15Click();
        QCoreApplication::processEvents();
        state.PauseTiming();
        ok = ok && tab.list.entryCount() == n + 1;
        tab.list.grid()->removeGridRow(tab.list.grid()->rowCount() - 1);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (!ok)
        state.SkipWithError("the entry was not added");
}

void gridEditCommit(State &state)
{
    const int n = entries(state);
    OnListTab tab(n);
    const int row = qMax(1, n / 2);
    bool ok = true;
    for (auto _ : state) {
        tab.click(tab.list.def().editColumn(), row);
        ok = ok && tab.list.inEditMode();
        tab.s.form.Button15Click();
        QCoreApplication::processEvents();
    }
    if (!ok || tab.list.inEditMode() || tab.list.entryCount() != n)
        state.SkipWithError("the entry was not edited and committed");
}

void gridRemove(State &state)
{
    const int n = entries(state);
    OnListTab tab(n);
    const int row = qMax(1, n / 2);
    const QStringList refill = bench::generatedRows(WorkHistory, 1).front() + QStringList{EditAction, DeleteAction};
    bool ok = true;
    for (auto _ : state) {
        tab.click(tab.list.def().deleteColumn(), row);
        QCoreApplication::processEvents();
        state.PauseTiming();
        ok = ok && tab.list.entryCount() == n - 1;
        tab.list.grid()->appendRows({refill});
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    if (!ok)
        state.SkipWithError("the entry was not removed");
}

// ------------------------------------------------- start-up and dictionary

void createWindow(State &state)
{
    FakePrompts prompts;
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>(prompts);
        state.PauseTiming();
        form.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

// The drop-down lists the creation handler fills, as it fills them.
struct PickList {
    QString type;
    int count;
    QString selected;
};
const std::vector<PickList> &pickLists()
{
    static const std::vector<PickList> lists{
        {dict::Sex, 2, {}},
        {dict::Nation, 56, {}},
        {dict::IdType, 4, QStringLiteral("身份证")},
        {dict::Title, 5, {}},
        {dict::Qualification, 2, QStringLiteral("考试")},
        {dict::Education, 7, {}},
        {dict::Degree, 4, {}},
        {dict::CourseType, 2, {}},
        {dict::RewardPenalty, 2, {}},
    };
    return lists;
}

void fillPickLists(State &state, bool fromDictionary)
{
    std::vector<QStringList> texts;
    for (const PickList &p : pickLists()) {
        QStringList items;
        for (int i = 1; i <= p.count; ++i)
            items << DictItemText(p.type, i);
        texts.push_back(items);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto holder = std::make_unique<QWidget>();
        std::vector<QComboBox *> combos;
        for (size_t i = 0; i < pickLists().size(); ++i)
            combos.push_back(new QComboBox(holder.get()));
        state.ResumeTiming();
        for (size_t l = 0; l < combos.size(); ++l) {
            const PickList &p = pickLists()[l];
            if (fromDictionary)
                for (int i = 1; i <= p.count; ++i)
                    combos[l]->addItem(DictItemText(p.type, i));
            else
                for (const QString &text : texts[l])
                    combos[l]->addItem(text);
            selectItemText(combos[l], p.selected);
        }
        state.PauseTiming();
        holder.reset();
        state.ResumeTiming();
    }
}

QString lastNationCode()
{
    for (const DictType &t : Dictionary::embedded().types())
        if (t.name == dict::Nation)
            return t.items.back().code;
    return {};
}

void lookupCached(State &state)
{
    const QString code = lastNationCode();
    for (auto _ : state)
        benchmark::DoNotOptimize(DictTextOf(dict::Nation, code));
}

void lookupParsing(State &state)
{
    const QString code = lastNationCode();
    for (auto _ : state)
        benchmark::DoNotOptimize(Dictionary::loadEmbedded().textOf(dict::Nation, code));
}

// ------------------------------------------------------ hostile documents

// What tests/tst_hostile.cpp and tests/tst_xmldocument.cpp open, timed: each
// must be opened or refused within a second. The tests themselves only
// guard against a hang.

QString hostilePath(const QString &name) { return documentsDir + QStringLiteral("/hostile/") + name + ".xml"; }

// A shown window that opens through "打开" as a click does: through the
// handler's guard, an error ending in the scripted message box.
struct OpeningWindow {
    FakePrompts prompts;
    TForm1 form{prompts};
    OpeningWindow()
    {
        current.reset();  // one window at a time
        form.show();
        QCoreApplication::processEvents();
    }
    void open(const QString &path)
    {
        prompts.clear();
        prompts.files << path;
        emit form.findChild<CommandLabel *>(QStringLiteral("Label12"))->clicked();
        QCoreApplication::processEvents();
    }
};

void openHostile(State &state, const QString &kind)
{
    const QString path = hostilePath(kind);
    if (!QFile::exists(path) && !hostile::writeDocument(kind, path)) {
        state.SkipWithError("the document could not be written");
        return;
    }
    OpeningWindow w;
    for (auto _ : state)
        w.open(path);
}

// One cut of the real document per iteration, round the cuts.
void openTruncated(State &state)
{
    const QByteArray whole = hostile::realDocument();
    QStringList paths;
    for (qsizetype size : hostile::truncationSizes(whole)) {
        paths << hostilePath(QStringLiteral("cut-%1").arg(size));
        QFile out(paths.last());
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(whole.left(size)) != size) {
            state.SkipWithError("a cut could not be written");
            return;
        }
    }
    OpeningWindow w;
    qsizetype next = 0;
    bool refused = true;
    for (auto _ : state) {
        w.open(paths[next++ % paths.size()]);
        refused = refused && w.prompts.errors().size() == 1;
    }
    if (!refused)
        state.SkipWithError("a cut document opened");
}

void refuseMarkup(State &state, const QByteArray &bytes)
{
    bool refused = true;
    for (auto _ : state) {
        try {
            XmlDocument doc;
            doc.loadFromBytes(bytes, QStringLiteral("hostile.xml"));
            refused = false;
        } catch (const XmlError &) {
        }
    }
    if (!refused)
        state.SkipWithError("the markup was read");
}

void registerHostile()
{
    QDir().mkpath(documentsDir + QStringLiteral("/hostile"));
    for (const QString &kind : hostile::Kinds)
        benchmark::RegisterBenchmark(("hostile/" + kind).toStdString().c_str(), openHostile, kind)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("hostile/truncated", openTruncated)->UseRealTime()->Unit(benchmark::kMillisecond);
    for (const hostile::Markup &m : hostile::refusedMarkup())
        benchmark::RegisterBenchmark(("markup/" + m.slug).toStdString().c_str(), refuseMarkup, m.bytes)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
}

// Start-up first, then everything at N = 100, at 1,000 and at 10,000, so
// that only one window is open at a time and each baseline runs beside its
// measurement.
void registerAll()
{
    const auto unsized = [](const char *name, auto fn, auto... args) {
        benchmark::RegisterBenchmark(name, fn, args...)->UseRealTime()->Unit(benchmark::kMicrosecond);
    };
    unsized("window/create", createWindow);
    unsized("picklists/dictionary", fillPickLists, true);
    unsized("picklists/plain", fillPickLists, false);
    unsized("dictionary/cached", lookupCached);
    unsized("dictionary/parsing", lookupParsing);

    const std::pair<const char *, void (*)(State &)> sized[] = {
        {"libxml2/parse+walk", parseAndWalk},
        {"read/structs", readIntoStructs},
        {"open/window", openIntoWindow},
        {"libxml2/parse+serialise", parseAndSerialise},
        {"save/list", saveOneList},
        {"save/basic", saveBasic},
        {"grid/add", gridAdd},
        {"grid/edit+commit", gridEditCommit},
        {"grid/remove", gridRemove},
    };
    for (int n : Sizes)
        for (const auto &[name, fn] : sized)
            benchmark::RegisterBenchmark(name, fn)->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond);
    const std::pair<const char *, void (*)(State &)> desk[] = {{"libxml2/parse-files", parseFiles},
                                                               {"desk/check", checkFolder}};
    for (int n : DeskSizes)
        for (const auto &[name, fn] : desk)
            benchmark::RegisterBenchmark(name, fn)->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond);
    registerHostile();
}

// ------------------------------------------------------------------ table

// Median wall-clock and CPU time of one benchmark, in milliseconds. The
// targets are judged on wall-clock time; the CPU-time ratio beside it shows
// how much other load on the machine moved a row.
struct Time {
    double real = 0, cpu = 0;
    Time operator+(const Time &o) const { return {real + o.real, cpu + o.cpu}; }
    Time operator-(const Time &o) const { return {real - o.real, cpu - o.cpu}; }
};
using Median = std::optional<Time>;

// Keeps the median of every benchmark (or its only run without repetitions),
// keyed "name" or "name/N".
class Collector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (r.error_occurred)
                continue;
            std::string key = r.run_name.function_name;
            if (!r.run_name.args.empty())
                key += "/" + r.run_name.args;
            const double unit = unitInMs(r.time_unit);
            const Time t{r.GetAdjustedRealTime() * unit, r.GetAdjustedCPUTime() * unit};
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians_[key] = t;
            else if (r.run_type == Run::RT_Iteration && r.repetitions <= 1)
                medians_.emplace(key, t);
        }
    }
    Median get(const std::string &name, int n = 0) const
    {
        const auto it = medians_.find(n ? name + "/" + std::to_string(n) : name);
        return it == medians_.end() ? std::nullopt : Median(it->second);
    }

private:
    static double unitInMs(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kNanosecond:
            return 1e-6;
        case benchmark::kMicrosecond:
            return 1e-3;
        case benchmark::kMillisecond:
            return 1.0;
        default:
            return 1e3;
        }
    }
    std::map<std::string, Time> medians_;
};

std::string shown(const Median &t)
{
    if (!t)
        return "-";
    const double ms = t->real;
    char text[32];
    if (ms >= 100)
        std::snprintf(text, sizeof text, "%.0f ms", ms);
    else if (ms >= 1)
        std::snprintf(text, sizeof text, "%.2f ms", ms);
    else
        std::snprintf(text, sizeof text, "%.1f us", ms * 1000);
    return text;
}

struct Table {
    int failed = 0;
    void heading(const char *title)
    {
        std::printf("\n== %s ==\n%-28s %6s %10s %-24s %10s %8s %8s %-8s %s\n", title, "measurement", "N", "median",
                    "baseline", "baseline", "ratio", "cpu", "target", "holds");
    }
    // A row with a ratio; limit 0 means no target for this row.
    void ratio(const char *what, int n, const Median &value, const char *baseName, const Median &base, double limit)
    {
        const bool have = value && base && base->real > 0 && base->cpu > 0;
        char real[16] = "-", cpu[16] = "-", target[16] = "-";
        if (have) {
            std::snprintf(real, sizeof real, "%.2fx", value->real / base->real);
            std::snprintf(cpu, sizeof cpu, "%.2fx", value->cpu / base->cpu);
        }
        if (limit > 0)
            std::snprintf(target, sizeof target, "<= %gx", limit);
        std::printf("%-28s %6s %10s %-24s %10s %8s %8s %-8s %s\n", what, n ? std::to_string(n).c_str() : "",
                    shown(value).c_str(), baseName, shown(base).c_str(), real, cpu, target,
                    verdict(have, limit, have ? value->real / base->real : 0));
    }
    void absolute(const char *what, int n, const Median &value, double limitMs)
    {
        char target[16] = "-";
        if (limitMs > 0)
            std::snprintf(target, sizeof target, "< %g ms", limitMs);
        std::printf("%-28s %6s %10s %-24s %10s %8s %8s %-8s %s\n", what, n ? std::to_string(n).c_str() : "",
                    shown(value).c_str(), "none", "", "", "", target,
                    verdict(value.has_value(), limitMs, value ? value->real : 0, true));
    }
    const char *verdict(bool have, double limit, double value, bool strict = false)
    {
        if (limit <= 0)
            return "";
        if (!have) {
            ++failed;
            return "not measured";
        }
        const bool holds = strict ? value < limit : value <= limit;
        failed += holds ? 0 : 1;
        return holds ? "yes" : "NO";
    }
};

void printTable(const Collector &c)
{
    Table t;
    t.heading("Medians (wall clock) and ratios against each row's baseline");
    const auto walk = [&](int n) { return c.get("libxml2/parse+walk", n); };
    const auto serialise = [&](int n) { return c.get("libxml2/parse+serialise", n); };
    for (int n : Sizes)
        t.ratio("read into structs", n, c.get("read/structs", n), "libxml2 parse+walk", walk(n), 1.5);
    for (int n : Sizes)
        t.ratio("open into the window", n, c.get("open/window", n), "libxml2 parse+walk", walk(n), n == 1000 ? 4 : 0);
    for (int n : Sizes)
        t.ratio("one list save", n, c.get("save/list", n), "libxml2 parse+serialise", serialise(n), 2);
    for (int n : Sizes)
        t.ratio("basic save, four lists", n, c.get("save/basic", n), "libxml2 parse+serialise", serialise(n), 6);
    for (const char *op : {"grid/add", "grid/edit+commit", "grid/remove"})
        for (int n : Sizes)
            t.absolute(op, n, c.get(op, n), n == 10000 ? 16 : 0);

    // No window can be built with empty lists without changing it, so the
    // filling is measured on its own and taken off the whole construction.
    const Median create = c.get("window/create"), fill = c.get("picklists/dictionary");
    const Median parse = c.get("dictionary/parsing");
    const Median empty = create && fill ? Median(*create - *fill) : std::nullopt;
    const Median cold = create && parse ? Median(*create + *parse) : std::nullopt;
    t.ratio("window creation", 0, create, "same, lists empty", empty, 1.10);
    t.ratio("  first in process (+parse)", 0, cold, "same, lists empty", empty, 1.10);
    t.ratio("  filling the lists", 0, fill, "same texts, no dict", c.get("picklists/plain"), 0);
    t.ratio("dictionary lookup, parsing", 0, parse, "lookup, cached", c.get("dictionary/cached"), 0);

    t.heading("Growth: median at N = 10000 against N = 1000");
    for (const char *name : {"libxml2/parse+walk", "read/structs", "open/window", "libxml2/parse+serialise",
                             "save/list", "save/basic", "grid/add", "grid/edit+commit", "grid/remove"}) {
        const bool baseline = std::string_view(name).starts_with("libxml2/");  // for reference, no target
        t.ratio(name, 10000, c.get(name, 10000), "same at N = 1000", c.get(name, 1000), baseline ? 0 : 12);
    }

    t.heading("The desk: a folder of N declarations checked, against libxml2 parsing the same files");
    for (int n : DeskSizes)
        t.ratio("desk: check the folder", n, c.get("desk/check", n), "libxml2 parse each file",
                c.get("libxml2/parse-files", n), 2);
    for (int n : {1000, 10000}) {
        t.ratio("  growth of the check", n, c.get("desk/check", n), n == 1000 ? "same at N = 100" : "same at N = 1000",
                c.get("desk/check", n / 10), 0);
        t.ratio("  growth of libxml2", n, c.get("libxml2/parse-files", n),
                n == 1000 ? "same at N = 100" : "same at N = 1000", c.get("libxml2/parse-files", n / 10), 0);
    }

    t.heading("Opening or refusing hostile documents (the tests guard only against a hang)");
    for (const QString &kind : hostile::Kinds) {
        const std::string name = "hostile/" + kind.toStdString();
        t.absolute(name.c_str(), 0, c.get(name), 1000);
    }
    t.absolute("hostile/truncated", 0, c.get("hostile/truncated"), 1000);
    for (const hostile::Markup &m : hostile::refusedMarkup()) {
        const std::string name = "markup/" + m.slug.toStdString();
        t.absolute(name.c_str(), 0, c.get(name), 1000);
    }

    std::printf("\n%s\n", t.failed ? "Some targets do not hold (NO above)." : "Every target holds.");
}

}  // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    // Medians need repetitions; flags given on the command line come later
    // and win.
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    std::vector<char *> args{argv[0], repetitions, aggregates};
    QString dir;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QLatin1String("--documents=")))
            dir = arg.mid(12);
        else
            args.push_back(argv[i]);
    }
    QTemporaryDir temporary;
    documentsDir = QDir(dir.isEmpty() ? temporary.path() : dir).absolutePath();
    QDir().mkpath(documentsDir);
    for (int n : Sizes) {
        std::fprintf(stderr, "writing %s\n", qPrintable(documentPath(n)));
        bench::writeDeclaration(documentPath(n), n);
    }
    for (int n : DeskSizes) {
        std::fprintf(stderr, "writing %s\n", qPrintable(staffFolder(n)));
        staffFiles[n] = bench::writeStaffFolder(staffFolder(n), n);
    }

    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    registerAll();
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    printTable(collector);
    current.reset();
    benchmark::Shutdown();
    return 0;
}
