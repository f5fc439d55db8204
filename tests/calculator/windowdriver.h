// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "app/newprojectdialog.h"
#include "app/operationwindows.h"
#include "calculator/buttonlabel.h"
#include "calculator/calculatorwindow.h"
#include "calculator/scrollframe.h"
#include "operations/operation.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTabBar>
#include <QtTest>

#include <cmath>
#include <cstring>
#include <memory>
#include <string_view>

// Runs the real main window and opens calculator windows in it: straight from the operations
// table, as the New Project dialog's Ok does, or the way a user does it, through the dialog.
class WindowDriver {
public:
    WindowDriver()
    {
        m_main = std::make_unique<zorvik::MainWindow>(nullptr, zorvik::operationChoices());
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }

    zorvik::MainWindow *main() const { return m_main.get(); }

    zorvik::NewProjectDialog *dialog() const { return m_main->newProjectDialog(); }

    // Opens the window of that name, or brings the open one forward, and closes the New Project
    // dialog the main window loaded when it was first shown: what the dialog's Ok leaves.
    zorvik::calculator::CalculatorWindow *open(const char *windowName)
    {
        for (const zorvik::OperationDefinition &operation : zorvik::operationDefinitions()) {
            if (std::strcmp(operation.design().name, windowName) != 0)
                continue;
            auto *window = zorvik::calculator::CalculatorWindow::open(operation, *m_main);
            if (zorvik::NewProjectDialog *chooser = dialog())
                chooser->cancel();
            return window;
        }
        qFatal("no operation has a window named %s", windowName);
    }

    // Chooses the option in the New Project dialog and presses Enter, or clicks the option and
    // Ok once the dialog has slid in; returns the window that is open afterwards.
    zorvik::calculator::CalculatorWindow *
    openThroughDialog(const char *option, const char *windowName, bool withMouse = false)
    {
        m_main->showNewProject();
        zorvik::NewProjectDialog *chooser = dialog();
        auto *choice = chooser ? chooser->findChild<QRadioButton *>(option) : nullptr;
        if (!choice)
            return nullptr;
        if (withMouse) {
            if (!QTest::qWaitFor([chooser] { return !chooser->isUnrolling(); }))
                return nullptr;
            QTest::mouseClick(choice, Qt::LeftButton);
            QTest::mouseClick(chooser->findChild<zorvik::calculator::ButtonLabel *>("command1"),
                              Qt::LeftButton);
        } else {
            QTest::keyClick(choice, Qt::Key_Space);
            QTest::keyClick(choice, Qt::Key_Return);
        }
        // Ok closes the dialog; it is gone once the event loop has deleted it.
        if (!QTest::qWaitFor([this] { return !dialog(); }))
            return nullptr;
        return window(windowName);
    }

    // The open calculator window of that name, or nullptr.
    zorvik::calculator::CalculatorWindow *window(const char *name) const
    {
        for (QMdiSubWindow *sub : m_main->workArea()->subWindowList()) {
            auto *window = qobject_cast<zorvik::calculator::CalculatorWindow *>(
                zorvik::calculator::ScrollFrame::contentOf(sub));
            if (!sub->isHidden() && window && window->objectName() == name)
                return window;
        }
        return nullptr;
    }

    int openSubWindows() const
    {
        int count = 0;
        for (QMdiSubWindow *sub : m_main->workArea()->subWindowList())
            count += sub->isHidden() ? 0 : 1;
        return count;
    }

private:
    std::unique_ptr<zorvik::MainWindow> m_main;
};

// What every window suite does around each test function: a fresh main window before it, none
// after it.
class WindowSuite : public QObject {
    Q_OBJECT
private slots:
    void init() { m_driver = std::make_unique<WindowDriver>(); }
    void cleanup() { m_driver.reset(); }

protected:
    std::unique_ptr<WindowDriver> m_driver;
};

// Data-driven suites take the operation as a row's "entry".
Q_DECLARE_METATYPE(const zorvik::OperationDefinition *)

// One row per operation window in the table, so every window added later is covered.
inline void addWindowRows()
{
    QTest::addColumn<const zorvik::OperationDefinition *>("entry");
    for (const zorvik::OperationDefinition &entry : zorvik::operationDefinitions()) {
        QTest::newRow(entry.design().name) << &entry;
    }
}

// One row per page of every window; with twoPages, only windows that have two.
inline void addPageRows(bool twoPages = false)
{
    QTest::addColumn<const zorvik::OperationDefinition *>("entry");
    QTest::addColumn<int>("page");
    for (const zorvik::OperationDefinition &entry : zorvik::operationDefinitions()) {
        if ((twoPages && entry.design().pages.size() < 2))
            continue;
        for (int page = 0; page < int(entry.design().pages.size()); ++page)
            QTest::addRow("%s page %d", entry.design().name, page) << &entry << page;
    }
}

inline QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline QLineEdit *fieldOf(QWidget *window, const QString &name)
{
    auto *field = window->findChild<QLineEdit *>(name);
    if (!field)
        qFatal("no field %s", qPrintable(name));
    return field;
}

inline zorvik::calculator::ButtonLabel *labelOf(QWidget *window, const QString &name)
{
    auto *label = window->findChild<zorvik::calculator::ButtonLabel *>(name);
    if (!label)
        qFatal("no button label %s", qPrintable(name));
    return label;
}

// Shows the page as choosing its tab does; a window of one page has only page 0.
inline void showPage(QWidget *window, int page)
{
    if (auto *tabs = window->findChild<QTabBar *>())
        tabs->setCurrentIndex(page);
    else
        QCOMPARE(page, 0);
}

// Types into the field with the keyboard, after selecting whatever it holds so the keys
// replace it.
inline void typeInto(QWidget *window, const QString &name, const QString &keys,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QLineEdit *field = fieldOf(window, name);
    field->setFocus();
    field->selectAll();
    if (keys.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, keys, modifiers);
}

// The contrast ratio of the field's text on its background, as accessibility guidelines count it.
inline double contrast(QLineEdit *field)
{
    auto luminance = [](const QColor &colour) {
        auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double text = luminance(field->palette().color(QPalette::Text));
    const double base = luminance(field->palette().color(QPalette::Base));
    return (std::max(text, base) + 0.05) / (std::min(text, base) + 0.05);
}

// A fresh result: the link colour.
inline bool looksWritten(QLineEdit *field)
{
    return field->palette().color(QPalette::Text) ==
               field->window()->palette().color(QPalette::Link) &&
           !field->font().italic();
}

// A result that is neither a typed text's colour nor a fresh result's, and still easy to read:
// in italic out of date, upright imported from the other page.
inline bool looksApart(QLineEdit *field, bool italic)
{
    const QColor colour = field->palette().color(QPalette::Text);
    const QPalette &window = field->window()->palette();
    return field->font().italic() == italic && colour != window.color(QPalette::Text) &&
           colour != window.color(QPalette::Link) && contrast(field) >= 4.5;
}

inline bool looksOutOfDate(QLineEdit *field)
{
    return looksApart(field, true);
}

inline bool looksImported(QLineEdit *field)
{
    return looksApart(field, false);
}
