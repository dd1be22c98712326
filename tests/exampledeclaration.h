// An example declaration filled into the real window through its own
// controls and buttons, as a user would: the README's pictures show it, and
// the saved copy is compared byte for byte on every system.
#pragma once

#include "fakeprompts.h"

#include "app/mainwindow.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

namespace example {

using namespace varnok;

struct Field {
    const char *control;
    const char *value;
};
using Entry = std::initializer_list<Field>;

[[noreturn]] inline void die(const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()), qPrintable(text));
    std::exit(1);
}

class Filler {
public:
    Filler(TForm1 &form, FakePrompts &prompts) : form_(form), prompts_(prompts) {}

    void set(const char *control, const QString &value)
    {
        QWidget *w = form_.findChild<QWidget *>(QString::fromLatin1(control));
        if (!w)
            die(QStringLiteral("no control %1").arg(QLatin1String(control)));
        setControlValue(w, value);
        if (controlValue(w).trimmed() != value.trimmed())
            die(QStringLiteral("%1 did not take \"%2\"").arg(QLatin1String(control), value));
    }

    void fill(Entry fields)
    {
        for (const Field &f : fields)
            set(f.control, QString::fromUtf8(f.value));
    }

    // Fill the entry fields and press the list's add button, which must accept.
    void add(Entry fields, void (TForm1::*addButton)(), const char *grid)
    {
        auto *g = form_.findChild<RecordGrid *>(QString::fromLatin1(grid));
        const int before = g->rowCount();
        fill(fields);
        (form_.*addButton)();
        if (!prompts_.messages().isEmpty() || g->rowCount() != before + 1)
            die(QStringLiteral("%1 refused the entry: %2").arg(QLatin1String(grid), prompts_.messages().join(u' ')));
    }

private:
    TForm1 &form_;
    FakePrompts &prompts_;
};

inline void fillDeclaration(TForm1 &form, FakePrompts &prompts)
{
    Filler f(form, prompts);

    // 基本信息: the birth date and the sex come from the identity number.
    f.fill({{"W_name", "林志远"}, {"W_cer", "320106198604120535"}});
    form.W_cerExit();
    f.fill({{"W_nation", "汉族"},
            {"W_tel", "13951802467"},
            {"W_work", "2008-07-01"},
            {"W_zyzw", "工程师"},
            {"W_gznx", "18"},
            {"W_rzsj", "2014-09-01"},
            {"W_zgqd", "考试"},
            {"W_qfrq", "2025-10-20"},
            {"W_zgid", "JZ32-2025-004127"},
            {"W_school", "东南大学"},
            {"W_xueli", "大学本科毕业"},
            {"W_xuewei", "学士"},
            {"W_bysj", "2008-06-30"},
            {"W_zhy", "土木工程"}});

    // 工作简历
    f.add({{"W_wkpart", "中建八局第三建设有限公司"},
           {"W_wktms", "2008-07-01"},
           {"W_wktme", "2012-12-31"},
           {"W_wkmemo", "施工员，参与南京地铁二号线车站主体结构施工"}},
          &TForm1::Button15Click, "W_wkgrid");
    f.add({{"W_wkpart", "江苏华建工程咨询有限公司"},
           {"W_wktms", "2013-01-01"},
           {"W_wktme", "2017-06-30"},
           {"W_wkmemo", "结构设计员，负责市政桥梁结构计算与施工图设计"}},
          &TForm1::Button15Click, "W_wkgrid");
    f.add({{"W_wkpart", "南京市政设计研究院有限责任公司"},
           {"W_wktms", "2017-07-01"},
           {"W_wktme", "2021-12-31"},
           {"W_wkmemo", "结构工程师，桥梁所设计三室"}},
          &TForm1::Button15Click, "W_wkgrid");
    f.add({{"W_wkpart", "南京市政设计研究院有限责任公司"},
           {"W_wktms", "2022-01-01"},
           {"W_wktme", "2026-06-30"},
           {"W_wkmemo", "结构专业负责人，桥梁所设计三室副主任"}},
          &TForm1::Button15Click, "W_wkgrid");

    // 主要业绩
    f.add({{"W_yjname", "滨江大道快速化改造"},
           {"W_yjtms", "2019-03-01"},
           {"W_yjtme", "2021-10-31"},
           {"W_yjmemo1", "结构专业负责人，主持主线高架桥上部结构设计与施工图审核"},
           {"W_yjmemo2", "工程按期建成通车，获2022年度省优秀工程设计二等奖；主线高架桥节约钢材约8%"}},
          &TForm1::Button17Click, "W_yjgrid");
    f.add({{"W_yjname", "城东污水处理厂三期扩建"},
           {"W_yjtms", "2022-02-01"},
           {"W_yjtme", "2023-11-30"},
           {"W_yjmemo1", "结构设计负责人，负责生化池与综合管廊结构设计"},
           {"W_yjmemo2", "一次通过竣工验收，新增日处理能力10万吨，运行至今无结构病害"}},
          &TForm1::Button17Click, "W_yjgrid");

    // 继续教育
    f.add({{"W_jyjg", "江苏省建设教育协会"},
           {"W_jylx", "必修课"},
           {"W_jyrq", "2023-05-20"},
           {"W_jyxs", "24"},
           {"W_jynr", "建设工程法律法规与职业道德"}},
          &TForm1::Button9Click, "StringGrid2");
    f.add({{"W_jyjg", "东南大学继续教育学院"},
           {"W_jylx", "选修课"},
           {"W_jyrq", "2024-08-15"},
           {"W_jyxs", "32"},
           {"W_jynr", "城市桥梁抗震设计新规范解读"}},
          &TForm1::Button9Click, "StringGrid2");
    f.add({{"W_jyjg", "省土木建筑学会"},
           {"W_jylx", "选修课"},
           {"W_jyrq", "2025-04-10"},
           {"W_jyxs", "16"},
           {"W_jynr", "BIM技术在市政工程设计中的应用"}},
          &TForm1::Button9Click, "StringGrid2");
    f.add({{"W_jyjg", "南京市建筑业协会"},
           {"W_jylx", "必修课"},
           {"W_jyrq", "2026-06-18"},
           {"W_jyxs", "24"},
           {"W_jynr", "安全生产管理与风险防控"}},
          &TForm1::Button9Click, "StringGrid2");

    // 信用档案
    f.add({{"W_xysj", "2022-12-20"},
           {"W_xymng", "省住房和城乡建设厅"},
           {"W_xycls", "奖励"},
           {"W_xysn", "优秀工程设计"},
           {"W_xymemo", "滨江大道快速化改造工程获省优秀工程设计二等奖，本人为第二完成人"}},
          &TForm1::Button1Click, "W_xygrid");
}

}  // namespace example
