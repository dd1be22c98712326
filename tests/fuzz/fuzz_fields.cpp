// Fuzz target from the window's side: arbitrary values (any Unicode, control
// characters, halves of surrogate pairs, very long texts) put into every
// field of the first tab and every list entry the way a paste puts them,
// saved through the program's own save, and read back. The file must always
// open, and hold every value exactly as the fields took it; a refused save
// means a field let through what no file can hold. Anything else (a crash, a
// sanitizer report, a difference) is a fault.
#include "../fakeprompts.h"
#include "../listcontrols.h"

#include "app/mainwindow.h"
#include "document/layout.h"
#include "document/values.h"
#include "rules/basicchecks.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"
#include "xml/xmldocument.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <fuzzer/FuzzedDataProvider.h>

using namespace varnok;

namespace {

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "fields to file broken: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

QString escaped(const QString &text)
{
    QString out;
    for (QChar c : text.left(200))
        out += c.unicode() < 0x20 || c.unicode() > 0x7E
                   ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
                   : QString(c);
    return out + (text.size() > 200 ? QStringLiteral("...(%1)").arg(text.size()) : QString());
}

// Now and then one very long value: one input in 4096, picked by a hash of
// the whole input, has its first value repeated past what a plain line edit
// takes. A run with one takes a hundred times longer than one without, so the
// choice must not follow a prefix the mutations would keep.
bool longValueWanted = false;

bool oneInManyThousand(const std::uint8_t *data, std::size_t size)
{
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return size > 0 && hash % 4096 == 0;
}

QString text(FuzzedDataProvider &in)
{
    const auto kind = in.ConsumeIntegral<std::uint8_t>();
    const std::string bytes = in.ConsumeRandomLengthString(1024);
    QString value;
    if (kind & 1)  // raw UTF-16 code units: lone surrogates, U+FFFF, anything
        value = QString(reinterpret_cast<const QChar *>(bytes.data()), qsizetype(bytes.size() / 2));
    else
        value = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (longValueWanted && !value.isEmpty()) {
        value = value.repeated(qMax(qsizetype(1), 40000 / value.size()));
        longValueWanted = false;
    }
    return value;
}

// Into a control as the user would get it there: pasted over what it held,
// chosen from a list, picked in a calendar.
void put(QWidget *control, FuzzedDataProvider &in)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->selectAll();
        edit->insert(text(in));
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
        memo->selectAll();
        memo->insertPlainText(text(in));
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        combo->setCurrentIndex(in.ConsumeIntegralInRange(-1, combo->count() - 1));
    } else if (auto *date = qobject_cast<QDateEdit *>(control)) {
        date->setDate(QDate(1950, 1, 1).addDays(in.ConsumeIntegralInRange(0, 40000)));
    }
}

// Values the checks of the save would stop at are replaced, so that nearly
// every input reaches the file.
void passTheSaveChecks(TForm1 &form)
{
    const FieldValues values = form.held().basic;
    for (const CheckFailure &failure : basicSaveFailures(values, QDate::currentDate())) {
        QStringList controls{failure.focus};
        if (failure.focus == QLatin1String("W_school"))
            controls = QStringList{QStringLiteral("W_school"), QStringLiteral("W_xueli"), QStringLiteral("W_xuewei"),
                                   QStringLiteral("W_zhy")};
        if (failure.focus == QLatin1String("W_name"))
            controls << QStringLiteral("W_cer");
        for (const QString &name : controls) {
            QWidget *control = form.findChild<QWidget *>(name);
            if (auto *mask = qobject_cast<MaskEdit *>(control))
                mask->setMaskText(QStringLiteral("1"));
            else if (auto *edit = qobject_cast<QLineEdit *>(control); edit && isBlank(edit->text()))
                edit->setText(QStringLiteral("X"));
            else if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->currentIndex() < 0)
                combo->setCurrentIndex(0);
        }
    }
}

// The controls, looked up once instead of searched for in the window's tree
// on every input.
struct Controls {
    std::vector<QWidget *> basic;
    struct List {
        RecordGrid *grid;
        std::vector<QWidget *> fields;
        QPushButton *add;
    };
    std::vector<List> lists;

    explicit Controls(const TForm1 &form)
    {
        for (const BasicField &field : basicFields())
            if (field.control != QLatin1String("W_id"))  // a resident identity card: its checks are simplest
                basic.push_back(form.findChild<QWidget *>(field.control));
        for (int l = 0; l < ListCount; ++l) {
            const ListControls list{&form, ListId(l)};
            List controls{list.grid(), {}, list.addButton()};
            for (size_t f = 0; f < list.def().fields.size(); ++f)
                controls.fields.push_back(list.field(int(f)));
            lists.push_back(controls);
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_fields";
    static char *argv[] = {name, nullptr};
    static bool platform = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    static FakePrompts prompts;
    static TForm1 form(prompts);
    static const Controls controls(form);
    static const QString path =
        QDir(QDir::tempPath()).filePath(QStringLiteral("fuzz_fields-%1.xml").arg(QCoreApplication::applicationPid()));
    (void)platform;

    longValueWanted = oneInManyThousand(data, size);
    FuzzedDataProvider in(data, size);
    // Every field is set below; only the grids start again.
    for (const Controls::List &list : controls.lists)
        list.grid->setRowCount(1);
    prompts.clear();
    for (QWidget *control : controls.basic)
        put(control, in);
    for (const Controls::List &list : controls.lists) {
        for (QWidget *field : list.fields)
            put(field, in);
        list.add->click();  // refused by the list's checks now and then
    }
    passTheSaveChecks(form);

    if (form.currentDocumentPath().isEmpty())
        prompts.files << path;
    form.Button6Click();
    if (!prompts.errors().isEmpty())
        fail("the save was refused", prompts.errors().join(u'\n'));
    if (!prompts.messages().contains(QStringLiteral("文件保存成功！")))
        fail("nothing was saved", prompts.messages().join(u'\n'));

    Declaration saved;
    try {
        XmlDocument doc;
        doc.loadFromFile(path);
        saved = readDeclaration(doc);
    } catch (const std::exception &e) {
        fail("the saved file does not open", QString::fromUtf8(e.what()));
    }
    const FieldValues shown = form.held().basic;
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        if (saved.basic.value(it.key()) != it.value())
            fail("a value of the first tab differs",
                 it.key() + QStringLiteral(": [%1] saved as [%2]")
                                .arg(escaped(it.value()), escaped(saved.basic.value(it.key()))));
    for (int l = 0; l < ListCount; ++l)
        if (saved.lists[size_t(l)] != ListControls{&form, ListId(l)}.rows())
            fail("list rows differ", recordListDef(ListId(l)).tabCaption);
    return 0;
}
