// A main window with scripted prompts, and the steps a user takes on it.
#pragma once

#include "fakeprompts.h"
#include "listcontrols.h"

#include "app/mainwindow.h"
#include "document/listdefs.h"
#include "widgets/fields.h"
#include "widgets/recordgrid.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

struct FormFixture {
    FakePrompts prompts;
    std::unique_ptr<varnok::TForm1> form;
    FormFixture() { form = std::make_unique<varnok::TForm1>(prompts); }

    template <typename T = QWidget>
    T *get(const QString &name) const
    {
        T *w = form->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    // The first tab's 保存 to this file (the save dialog answered with it).
    void saveTo(const QString &path)
    {
        prompts.files << path;
        form->Button6Click();
    }
    // A complete first tab saved to this file: the window is bound to it.
    void bindTo(const QString &path)
    {
        fillBasic();
        saveTo(path);
        prompts.clear();
    }
    // 打开 of this file, agreeing to lose what is unsaved.
    void open(const QString &path)
    {
        agreeToDiscard();
        prompts.files << path;
        form->Label12Click();
    }
    // A number typed into 证件号码 and the field left.
    void typeIdNumber(const QString &number) const
    {
        set("W_cer", number);
        form->W_cerExit();
    }

    // Agree to lose what is unsaved, should the next 新建 or 打开 ask.
    void agreeToDiscard()
    {
        if (form->hasUnsavedChanges())
            prompts.answers << true;
    }

    ListControls list(varnok::ListId id) const { return {form.get(), id}; }
    QTabWidget *tabs() const { return get<QTabWidget>("PageControl1"); }

    QString value(const QString &name) const { return varnok::controlValue(get(name)); }
    void set(const QString &name, const QString &value) const { varnok::setControlValue(get(name), value); }

    // Show the window and make it active, for tests that look at the focus.
    void showActive()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    QWidget *focused() const { return QApplication::focusWidget(); }

    // A complete first tab: a man with a resident identity card.
    void fillBasic(const QString &name = QString::fromUtf8("王堃")) const
    {
        set("W_name", name);
        typeIdNumber("110105198503071234");
        set("W_nation", QString::fromUtf8("汉族"));
        set("W_tel", "138");
        set("W_zyzw", QString::fromUtf8("工程师"));
        set("W_gznx", "9");
        set("W_zgid", "ZG2012-0001");
        set("W_school", QString::fromUtf8("同济大学"));
        set("W_xueli", QString::fromUtf8("大学本科毕业"));
        set("W_xuewei", QString::fromUtf8("学士"));
        set("W_zhy", QString::fromUtf8("土木工程"));
    }
};
