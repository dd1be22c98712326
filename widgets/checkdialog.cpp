#include "checkdialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace varnok {

CheckDialog::CheckDialog(const QList<ReportLine> &lines, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CheckDialog"));
    setWindowTitle(QStringLiteral("检查申报资料"));
    resize(720, 360);

    auto *intro =
        new QLabel(QStringLiteral("发现 %1 个问题，请逐项改正。双击一项即转到该页的该项。").arg(lines.size()), this);
    intro->setObjectName(QStringLiteral("CheckIntro"));

    lines_ = new QTreeWidget(this);
    lines_->setObjectName(QStringLiteral("CheckLines"));
    lines_->setAccessibleName(QStringLiteral("检查结果"));
    lines_->setAccessibleDescription(intro->text());
    lines_->setColumnCount(4);
    lines_->setHeaderLabels(
        {QStringLiteral("序号"), QStringLiteral("页面"), QStringLiteral("项目"), QStringLiteral("问题")});
    lines_->setRootIsDecorated(false);
    lines_->setUniformRowHeights(true);
    lines_->setAlternatingRowColors(true);
    for (int i = 0; i < lines.size(); ++i) {
        const ReportLine &line = lines[i];
        auto *item = new QTreeWidgetItem(lines_, {QString::number(i + 1), line.tab, line.field, line.problem});
        item->setToolTip(3, line.problem);
    }
    lines_->header()->setStretchLastSection(true);
    lines_->setColumnWidth(0, 44);
    lines_->setColumnWidth(1, 80);
    lines_->setColumnWidth(2, 150);
    if (lines_->topLevelItemCount() > 0)
        lines_->setCurrentItem(lines_->topLevelItem(0));
    connect(lines_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) { choose(item); });

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *go = buttons->addButton(QStringLiteral("转到"), QDialogButtonBox::AcceptRole);
    go->setObjectName(QStringLiteral("CheckGo"));
    go->setDefault(true);
    QPushButton *close = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CheckClose"));
    connect(go, &QPushButton::clicked, this, [this] { choose(lines_->currentItem()); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(lines_);
    layout->addWidget(buttons);
}

void CheckDialog::choose(QTreeWidgetItem *item)
{
    if (!item)
        return;
    chosen_ = lines_->indexOfTopLevelItem(item);
    accept();
}

}  // namespace varnok
