#include "dictionary/dictionary.h"
#include "document/listdefs.h"
#include "rules/entrychecks.h"

#include <QtTest>

using namespace varnok;

namespace {

const QString DateMessage = "起始时间和结束时间不能相同且起始时间不得大于结束时间！";

// An entry of each list that passes every check.
QStringList validEntry(ListId list)
{
    switch (list) {
    case WorkHistory:
        return {"某单位", "2001-01-01", "2001-01-02", ""};
    case Achievements:
        return {"某项目", "2001-01-01", "2001-01-02", "负责人", "已完成"};
    case ContinuingEducation:
        return {"某机构", "选修课", "2001-01-01", "   ", "某内容"};
    case CreditRecord:
        return {"2001-01-01", "某部门", "奖励", "某原因", "某结果"};
    default:
        return {};
    }
}

using Changes = QList<QPair<QString, QString>>;

}  // namespace

Q_DECLARE_METATYPE(Changes)

class TestListDefs : public QObject {
    Q_OBJECT
private slots:
    void checks_data();
    void checks();
    void definitionsMatchTheDocumentLayout_data();
    void definitionsMatchTheDocumentLayout();
};

void TestListDefs::checks_data()
{
    // clang-format off
    QTest::addColumn<int>("list");
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QString>("message");  // empty: accepted
    QTest::addColumn<QString>("focus");

    auto row = [](const char *name, ListId list, Changes changes, const QString &message = {},
                  const QString &focus = {}) { QTest::newRow(name) << int(list) << changes << message << focus; };
    const QString blanks[] = {" ", "\t", "\r\n", " \n\t ", QString(QChar(1)) + QChar(31)};

    // Work history: employer, then the period.
    row("work: valid, no remark", WorkHistory, {});
    row("work: employer empty", WorkHistory, {{"W_wkpart", ""}}, "工作单位必须填写！", "W_wkpart");
    for (const QString &b : blanks)
        QTest::addRow("work: employer blank %s", b.toUtf8().toPercentEncoding().constData())
            << int(WorkHistory) << Changes{{"W_wkpart", b}} << QString("工作单位必须填写！") << QString("W_wkpart");
    row("work: employer of ideographic spaces", WorkHistory, {{"W_wkpart", "\u3000\u3000"}});
    row("work: employer of no-break spaces", WorkHistory, {{"W_wkpart", "\u00a0"}});
    row("work: employer with blanks around", WorkHistory, {{"W_wkpart", "  单位\t"}});
    row("work: same day", WorkHistory, {{"W_wktms", "2001-01-02"}}, DateMessage, "W_wktms");
    row("work: reversed", WorkHistory, {{"W_wktms", "2001-01-03"}}, DateMessage, "W_wktms");
    row("work: reversed across years", WorkHistory, {{"W_wktms", "2002-01-01"}, {"W_wktme", "2001-12-31"}},
        DateMessage, "W_wktms");
    row("work: one day apart across years", WorkHistory, {{"W_wktms", "2000-12-31"}, {"W_wktme", "2001-01-01"}});
    row("work: employer before dates", WorkHistory, {{"W_wkpart", " "}, {"W_wktms", "2009-09-09"}},
        "工作单位必须填写！", "W_wkpart");

    // Main achievements: name, period, role, effect.
    row("achievements: valid", Achievements, {});
    row("achievements: name blank", Achievements, {{"W_yjname", "\t"}}, "项目名称必须填写！", "W_yjname");
    row("achievements: same day", Achievements, {{"W_yjtme", "2001-01-01"}}, DateMessage, "W_yjtms");
    row("achievements: reversed", Achievements, {{"W_yjtms", "2001-02-01"}}, DateMessage, "W_yjtms");
    row("achievements: role of line breaks", Achievements, {{"W_yjmemo1", "\n\n"}}, "本人作用必须填写！", "W_yjmemo1");
    row("achievements: effect of blanks", Achievements, {{"W_yjmemo2", " \r\n "}}, "完成情况及效果必须填写！",
        "W_yjmemo2");
    row("achievements: ideographic spaces", Achievements,
        {{"W_yjname", "\u3000"}, {"W_yjmemo1", "\u3000"}, {"W_yjmemo2", "\u3000"}});
    row("achievements: name before reversed dates", Achievements, {{"W_yjname", ""}, {"W_yjtms", "2003-01-01"}},
        "项目名称必须填写！", "W_yjname");
    row("achievements: dates before role", Achievements, {{"W_yjtms", "2001-01-02"}, {"W_yjmemo1", ""}},
        DateMessage, "W_yjtms");
    row("achievements: role before effect", Achievements, {{"W_yjmemo1", ""}, {"W_yjmemo2", ""}},
        "本人作用必须填写！", "W_yjmemo1");
    row("achievements: all empty", Achievements,
        {{"W_yjname", ""}, {"W_yjtme", "2001-01-01"}, {"W_yjmemo1", ""}, {"W_yjmemo2", ""}}, "项目名称必须填写！",
        "W_yjname");

    // Continuing education: institution, course type, content; date and hours never.
    row("education: valid, blank hours", ContinuingEducation, {});
    row("education: institution blank", ContinuingEducation, {{"W_jyjg", "\r\n"}}, "教育机构必须填写！", "W_jyjg");
    row("education: no course type", ContinuingEducation, {{"W_jylx", ""}}, "课程类型必须填写！", "W_jylx");
    row("education: content blank", ContinuingEducation, {{"W_jynr", " \t"}}, "培训内容必须填写！", "W_jynr");
    row("education: ideographic spaces", ContinuingEducation, {{"W_jyjg", "\u3000"}, {"W_jynr", "\u3000"}});
    row("education: institution first", ContinuingEducation, {{"W_jyjg", ""}, {"W_jylx", ""}, {"W_jynr", ""}},
        "教育机构必须填写！", "W_jyjg");
    row("education: course type before content", ContinuingEducation, {{"W_jylx", ""}, {"W_jynr", ""}},
        "课程类型必须填写！", "W_jylx");

    // Credit record: department, kind, reason, result; the date never.
    row("credit: valid", CreditRecord, {});
    row("credit: department blank", CreditRecord, {{"W_xymng", " "}}, "授奖部门或处罚单位必须填写！", "W_xymng");
    row("credit: no kind", CreditRecord, {{"W_xycls", ""}}, "奖励与处罚类型必须选择！", "W_xycls");
    row("credit: reason blank", CreditRecord, {{"W_xysn", "\t"}}, "奖惩原因必须填写！", "W_xysn");
    row("credit: result blank", CreditRecord, {{"W_xymemo", "\n"}}, "奖惩结果必须填写！", "W_xymemo");
    row("credit: ideographic spaces", CreditRecord,
        {{"W_xymng", "\u3000"}, {"W_xysn", "\u3000"}, {"W_xymemo", "\u3000"}});
    row("credit: all empty", CreditRecord, {{"W_xymng", ""}, {"W_xycls", ""}, {"W_xysn", ""}, {"W_xymemo", ""}},
        "授奖部门或处罚单位必须填写！", "W_xymng");
    row("credit: kind before reason", CreditRecord, {{"W_xycls", ""}, {"W_xysn", ""}, {"W_xymemo", ""}},
        "奖励与处罚类型必须选择！", "W_xycls");
    row("credit: reason before result", CreditRecord, {{"W_xysn", ""}, {"W_xymemo", ""}}, "奖惩原因必须填写！",
        "W_xysn");
    // clang-format on
}

void TestListDefs::checks()
{
    QFETCH(int, list);
    QFETCH(Changes, changes);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const RecordListDef &def = recordListDefs()[size_t(list)];
    QStringList values = validEntry(ListId(list));
    for (const auto &[name, value] : changes) {
        const int index = def.fieldIndex(name);
        QVERIFY2(index >= 0, qPrintable(name));
        values[index] = value;
    }
    const auto failed = firstFailingCheck(def, values);
    if (message.isEmpty()) {
        QVERIFY2(!failed, failed ? qPrintable(failed->message) : "");
        return;
    }
    QVERIFY(failed);
    QCOMPARE(failed->message, message);
    QCOMPARE(failed->field, focus);
}

void TestListDefs::definitionsMatchTheDocumentLayout_data()
{
    // clang-format off
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<QStringList>("dictTypes");

    QTest::newRow("work history") << int(WorkHistory) << "W_wkgrid"
                                  << QStringList{"工作单位", "起始时间", "结束时间", "备注", "修改", "删除"} << "工作简历" << "简历列表"
                                  << QStringList{"工作单位", "起始时间", "结束时间", "备注"}
                                  << QStringList{"", "", "", ""};
    QTest::newRow("achievements")
        << int(Achievements) << "W_yjgrid"
        << QStringList{"项目名称", "起始时间", "结束时间", "本人作用", "完成情况及效果", "修改", "删除"} << "主要业绩" << "业绩列表"
        << QStringList{"项目名称", "起始时间", "结束时间", "本人作用", "完成情况及效果"} << QStringList(5, "");
    QTest::newRow("education") << int(ContinuingEducation) << "StringGrid2"
                               << QStringList{"培训机构", "课程类型", "培训日期", "学时", "培训内容", "修改", "删除"} << "继续教育情况" << "培训列表"
                               << QStringList{"培训机构", "课程类型", "培训日期", "学时", "培训内容"}
                               << QStringList{"", "课程类型", "", "", ""};
    QTest::newRow("credit") << int(CreditRecord) << "W_xygrid"
                            << QStringList{"奖惩时间", "奖惩部门单位", "奖励或处罚", "奖惩原因", "奖惩结果", "修改", "删除"} << "信用档案" << "信用档案列表"
                            << QStringList{"奖惩时间", "授奖部门或处罚单位", "奖励或处罚", "奖惩原因", "奖惩结果"}
                            << QStringList{"", "", "奖励或处罚", "", ""};
    // clang-format on
}

void TestListDefs::definitionsMatchTheDocumentLayout()
{
    QFETCH(int, list);
    QFETCH(QString, grid);
    QFETCH(QStringList, headers);
    QFETCH(QString, section);
    QFETCH(QString, item);
    QFETCH(QStringList, elements);
    QFETCH(QStringList, dictTypes);
    const RecordListDef &def = recordListDefs()[size_t(list)];

    QCOMPARE(int(def.id), list);
    QCOMPARE(def.grid, grid);
    QCOMPARE(def.headers(), headers);
    QCOMPARE(def.columnCount(), headers.size());
    QCOMPARE(def.editColumn(), headers.size() - 2);
    QCOMPARE(def.deleteColumn(), headers.size() - 1);
    QCOMPARE(def.section, section);
    QCOMPARE(def.item, item);

    // One field per stored element, in the same order; the drop-down lists
    // are exactly the coded columns, each with its dictionary type.
    QCOMPARE(int(def.fields.size()), elements.size());
    for (int i = 0; i < elements.size(); ++i) {
        const ListField &f = def.fields[size_t(i)];
        QCOMPARE(f.element, elements[i]);
        QCOMPARE(f.dictType, dictTypes[i]);
        QCOMPARE(f.kind == FieldKind::Combo, !dictTypes[i].isEmpty());
        QCOMPARE(def.fieldIndex(f.control), i);
    }
    // Every check names a field of the list.
    for (const ListCheck &check : def.checks) {
        QVERIFY2(def.fieldIndex(check.field) >= 0, qPrintable(check.field));
        if (check.kind == ListCheck::DateOrder)
            QVERIFY(def.fieldIndex(check.endField) > def.fieldIndex(check.field));
    }
}

QTEST_GUILESS_MAIN(TestListDefs)
#include "tst_listdefs.moc"
