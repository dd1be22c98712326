#include "documents.h"

#include "app/mainwindow.h"
#include "document/values.h"
#include "rules/idnumber.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <random>

namespace varnok::bench {

namespace {

// Phrases an applicant writes; a few carry characters outside GB2312
// (堃 喆 犇 𠮷), which the file holds as numeric character references.
const QStringList &organisations()
{
    static const QStringList words{
        "上海市第一建筑工程有限公司",
        "中铁十二局集团第三工程有限公司",
        "华东建筑设计研究院",
        "省交通规划勘察设计院",
        "市政工程管理处",
        "堃元建筑设计事务所",
        "𠮷祥建设集团有限公司",
        "同济大学继续教育学院",
        "省住房和城乡建设厅",
        "犇腾路桥工程有限公司",
        "市建设工程质量安全监督站",
        "东南大学土木工程学院",
        "杭州湾跨海大桥建设指挥部",
        "长江水利委员会",
        "喆信工程咨询有限公司",
        "第二分公司项目部",
    };
    return words;
}

const QStringList &narrative()
{
    static const QStringList words{
        "负责项目的结构设计与施工图审查",
        "参与编制企业技术标准和作业指导书",
        "主持完成高速公路特大桥的施工组织设计",
        "钢筋混凝土框架结构优化后节约投资约三百万元",
        "组织技术交底和隐蔽工程验收",
        "项目按期竣工并一次通过竣工验收",
        "获省级优秀工程设计二等奖",
        "与王堃、李喆共同完成地基基础处理方案",
        "城市轨道交通车站深基坑监测",
        "建设工程法规及相关知识",
        "给水排水管网改造工程",
        "在𠮷野片区安置房项目中担任技术负责人",
        "因未按规定办理质量监督手续受到通报批评",
        "犇腾路桥项目获评市级文明工地",
        "学习新版混凝土结构设计规范",
        "完成建筑节能改造面积十二万平方米",
        "指导青年技术人员三名",
        "编写项目质量安全管理制度",
    };
    return words;
}

// A text of the given length in characters, made of whole phrases as far as
// they go; memos sometimes run over two lines.
QString text(std::mt19937 &random, const QStringList &words, int length, bool memo)
{
    QString out;
    while (out.size() < length) {
        if (!out.isEmpty())
            out += (memo && random() % 5 == 0) ? QStringLiteral("。\n") : QStringLiteral("，");
        out += words[int(random() % words.size())];
    }
    out.truncate(length);
    if (out.back().isHighSurrogate())
        out.chop(1);
    return out;
}

QString between(std::mt19937 &random, int low, int high)
{
    return QString::number(low + int(random() % (high - low + 1)));
}

}  // namespace

FieldValues applicantValues()
{
    return {
        {"W_name", "王堃"},          {"W_sex", "男"},           {"W_birth", "1985-03-07"},
        {"W_nation", "汉族"},        {"W_id", "身份证"},        {"W_cer", "110105198503071234"},
        {"W_tel", "13812345678"},    {"W_work", "2007-07-01"},  {"W_zyzw", "工程师"},
        {"W_qfrq", "2012-05-20"},    {"W_gznx", "16"},          {"W_rzsj", "2013-01-01"},
        {"W_zgqd", "考试"},          {"W_zgid", "ZG2012-0001"}, {"W_school", "同济大学"},
        {"W_xueli", "大学本科毕业"}, {"W_xuewei", "学士"},      {"W_bysj", "2007-06-30"},
        {"W_zhy", "土木工程"},
    };
}

ListRows generatedRows(ListId list, int n)
{
    std::mt19937 random(unsigned(list * 100003 + n));
    auto name = [&] { return text(random, organisations(), 10 + int(random() % 51), false); };
    auto memo = [&] { return text(random, narrative(), 10 + int(random() % 191), true); };
    const QDate first(1990, 1, 1);
    auto span = [&] {
        const QDate start = first.addDays(random() % 10000);
        return QStringList{start.toString(DateFormat), start.addDays(1 + random() % 2000).toString(DateFormat)};
    };

    ListRows rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i) {
        switch (list) {
        case WorkHistory:
            rows.append(QStringList{name()} << span() << memo());
            break;
        case Achievements:
            rows.append(QStringList{memo()} << span() << memo() << memo());
            break;
        case ContinuingEducation:
            rows.append({name(), random() % 2 ? "选修课" : "必修课", span().front(),
                         between(random, 8, 120).leftJustified(3), memo()});
            break;
        default:
            rows.append({span().front(), name(), random() % 4 ? "奖励" : "处罚", memo(), memo()});
            break;
        }
    }
    return rows;
}

void writeDeclaration(const QString &path, int n)
{
    XmlDocument doc;
    buildBasicDocument(doc, applicantValues());
    for (int l = 0; l < ListCount; ++l)
        writeListSection(doc, recordListDef(ListId(l)), generatedRows(ListId(l), n), &TForm1::NewRecordId);
    doc.save(path);
}

QStringList writeStaffFolder(const QString &folder, int files)
{
    QStringList paths;
    for (int i = 0; i < files; ++i)
        paths << QStringLiteral("%1/科室%2/申报资料%3.xml")
                     .arg(folder)
                     .arg(i / 100, 3, 10, QLatin1Char('0'))
                     .arg(i, 5, 10, QLatin1Char('0'));
    const QString made = folder + QStringLiteral("/.made");
    if (QFile::exists(made))
        return paths;
    QDir(folder).removeRecursively();
    std::map<int, QByteArray> templates;
    const QByteArray number = applicantValues().value(QStringLiteral("W_cer")).toLatin1();
    for (int i = 0; i < files; ++i) {
        const int entries = i % 50 == 0 ? 100 : 2 + i % 4;
        if (!templates.count(entries)) {
            const QString scratch = folder + QStringLiteral("-template.xml");
            QDir().mkpath(QFileInfo(scratch).absolutePath());
            writeDeclaration(scratch, entries);
            QFile in(scratch);
            in.open(QIODevice::ReadOnly);
            templates[entries] = in.readAll();
            in.close();
            QFile::remove(scratch);
        }
        QByteArray bytes = templates[entries];
        const QString first17 = QStringLiteral("110105198503%1").arg(i, 5, 10, QLatin1Char('0'));
        bytes.replace(number, (first17 + idCheckCharacter(first17)).toLatin1());
        QDir().mkpath(QFileInfo(paths[i]).absolutePath());
        QFile out(paths[i]);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(paths[i]));
    }
    QFile(made).open(QIODevice::WriteOnly);
    return paths;
}

}  // namespace varnok::bench
