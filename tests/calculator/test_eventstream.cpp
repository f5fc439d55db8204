// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded random stream of what users do, over the real main window: open and close every
// calculator window through the New Project dialog, type, paste odd texts, click button labels,
// switch pages and arrange windows. Every Calculate is checked against a solve of the texts its
// page held just before it ran. ZORVIK_STREAM_SEED and ZORVIK_STREAM_ACTIONS set the stream; a
// failure prints both with the last actions, so the run can be replayed.
#include "windowdriver.h"

#include "calculator/scrollframe.h"
#include "calculator/tabcontrol.h"
#include "design/designcheck.h"
#include "solver/solve.h"

#include <QClipboard>
#include <QMenu>
#include <QTabBar>
#include <algorithm>

#include <cstdint>
#include <deque>
#include <map>
#include <random>

using zorvik::OperationDefinition;
using zorvik::calculator::CalculatorWindow;
using zorvik::design::Action;

namespace {

unsigned environmentNumber(const char *name, unsigned fallback)
{
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Texts users paste: blanks, malformed and out-of-range numbers, a huge one, control
// characters, lone surrogates and right-to-left text.
QStringList oddTexts()
{
    return {
        QString(),
        QStringLiteral(" "),
        QStringLiteral("   "),
        QStringLiteral("1..2"),
        QStringLiteral("1e400"),
        QStringLiteral("-1e400"),
        QStringLiteral("1e-400"),
        QStringLiteral("-0"),
        QStringLiteral("+3"),
        QStringLiteral(" 42 "),
        QStringLiteral("12.5"),
        QStringLiteral("0"),
        QStringLiteral("0.0001"),
        QStringLiteral("1E+15"),
        QString(10000, u'9'),
        QStringLiteral("1") + QString(9999, u'0'),
        QStringLiteral("\t\n\r\x01\x7f"),
        QStringLiteral("5\n"),
        QString(QChar(0xD800)),
        QStringLiteral("12") + QChar(0xDC00),
        QString(QChar(0xDBFF)) + QStringLiteral("3"),
        QStringLiteral("\u0661\u0662\u0663"),
        QStringLiteral("\u202E321"),
        QStringLiteral("\u05E9\u05DC\u05D5\u05DD 7"),
        QStringLiteral("nan"),
        QStringLiteral("inf"),
        QStringLiteral("1,5"),
    };
}

// Texts in messages: at most 40 characters, with surrogates and control characters written as
// escapes so that the message itself stays readable.
QString printable(const QString &text)
{
    QString shown;
    for (const QChar c : text.left(40)) {
        if (c.isSurrogate() || c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return text.size() > 40 ? shown + QStringLiteral("...") : shown;
}

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char *name;
};

const std::vector<Key> &keys()
{
    static const std::vector<Key> all = [] {
        std::vector<Key> list;
        static const char *const digitNames[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        // Digits come often, so that solves have numbers to work on.
        for (int repeat = 0; repeat < 4; ++repeat) {
            for (int d = 0; d < 10; ++d)
                list.push_back({Qt::Key(Qt::Key_0 + d), Qt::NoModifier, digitNames[d]});
            list.push_back({Qt::Key_Period, Qt::NoModifier, "."});
        }
        list.insert(list.end(), {
                                    {Qt::Key_A, Qt::NoModifier, "a"},
                                    {Qt::Key_E, Qt::NoModifier, "e"},
                                    {Qt::Key_Z, Qt::ShiftModifier, "Z"},
                                    {Qt::Key_Minus, Qt::NoModifier, "-"},
                                    {Qt::Key_Space, Qt::NoModifier, "Space"},
                                    {Qt::Key_Comma, Qt::NoModifier, ","},
                                    {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
                                    {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
                                    {Qt::Key_Delete, Qt::NoModifier, "Delete"},
                                    {Qt::Key_Left, Qt::NoModifier, "Left"},
                                    {Qt::Key_Right, Qt::NoModifier, "Right"},
                                    {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
                                    {Qt::Key_Home, Qt::ShiftModifier, "Shift+Home"},
                                    {Qt::Key_Up, Qt::NoModifier, "Up"},
                                    {Qt::Key_Down, Qt::NoModifier, "Down"},
                                    {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                                    {Qt::Key_Tab, Qt::NoModifier, "Tab"},
                                    {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab"},
                                    {Qt::Key_Return, Qt::NoModifier, "Enter"},
                                    {Qt::Key_Return, Qt::NoModifier, "Enter"},
                                    {Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter"},
                                    {Qt::Key_Escape, Qt::NoModifier, "Esc"},
                                    {Qt::Key_F5, Qt::NoModifier, "F5"},
                                    {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
                                    {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
                                    {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
                                    {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
                                    {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
                                });
        return list;
    }();
    return all;
}

const char *const windowCommands[] = {"mnuhorizon", "mnuvertical", "mnucascade", "mnuicons"};

// A Calculate about to run: the event that runs it, and where.
struct PendingCalculate {
    QPointer<QObject> trigger;
    QEvent::Type event;
    QPointer<CalculatorWindow> window;
    int page = 0;
};

// What a Calculate is expected to do to its window: the page's fields hold a solve of the texts
// they held before; every other field keeps its text.
struct CalculateCheck {
    QPointer<CalculatorWindow> window;
    const OperationDefinition *entry = nullptr;
    int page = 0;
    std::map<QString, QString> expected;
    std::map<QString, QString> before;
};

} // namespace

class TestEventStream : public QObject {
    Q_OBJECT

private slots:
    void randomStream();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::uint32_t pick(std::uint32_t count) { return m_random() % count; }
    template <typename T> const T &pickFrom(const std::vector<T> &list)
    {
        return list[pick(static_cast<std::uint32_t>(list.size()))];
    }

    void step();
    void note(const QString &action) { m_lastActions.push_back(action); }
    QString failure(const QString &what) const;
    CalculatorWindow *activeCalculator() const;
    const OperationDefinition *entryOf(const CalculatorWindow *window) const;
    QWidget *keyTarget() const;
    std::optional<PendingCalculate> calculateBy(QWidget *target, Qt::Key key) const;
    std::optional<PendingCalculate> calculateByLabel(zorvik::calculator::ButtonLabel *label) const;
    CalculateCheck prepareCheck(CalculatorWindow *window, int page) const;
    QString verify(const CalculateCheck &check) const;
    QString checkInvariants() const;

    void openThroughDialog();
    void actOnDialog();
    void clickLabel();
    QLineEdit *clickField();
    void typeNumber();
    void typeKey();
    void paste();
    void switchPage();
    void windowCommand();
    void closeSubWindow();

    std::mt19937 m_random;
    unsigned m_seed = 0;
    int m_index = 0;
    int m_checked = 0;
    int m_filling = 0; // Calculates that filled some field
    int m_opened = 0;
    std::deque<QString> m_lastActions;
    std::optional<PendingCalculate> m_pending;
    std::optional<CalculateCheck> m_check;
    std::unique_ptr<WindowDriver> m_driver;
    QStringList m_odd = oddTexts();
};

QString TestEventStream::failure(const QString &what) const
{
    QString text = QStringLiteral("%1\nat action %2 of the stream with seed %3; replay with "
                                  "ZORVIK_STREAM_SEED=%3 ZORVIK_STREAM_ACTIONS=%4\nlast actions:")
                       .arg(what)
                       .arg(m_index)
                       .arg(m_seed)
                       .arg(m_index + 1);
    for (const QString &action : m_lastActions)
        text += QStringLiteral("\n  ") + action;
    return text;
}

CalculatorWindow *TestEventStream::activeCalculator() const
{
    QMdiSubWindow *active = m_driver->main()->workArea()->activeSubWindow();
    return active ? qobject_cast<CalculatorWindow *>(
                        zorvik::calculator::ScrollFrame::contentOf(active))
                  : nullptr;
}

const OperationDefinition *TestEventStream::entryOf(const CalculatorWindow *window) const
{
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        if (window->objectName() == QLatin1String(entry.design().name))
            return &entry;
    }
    return nullptr;
}

QWidget *TestEventStream::keyTarget() const
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : m_driver->main();
}

CalculateCheck TestEventStream::prepareCheck(CalculatorWindow *window, int page) const
{
    CalculateCheck check;
    check.window = window;
    check.entry = entryOf(window);
    check.page = page;
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        check.before[field->objectName()] = field->text();

    const zorvik::OperationDefinition &operation = *check.entry;
    const auto &fields = operation.relations.fields;
    const QString prefix = QString::fromLatin1(window->design().pages[std::size_t(page)].prefix);
    QStringList names;
    zorvik::FieldStore store(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        names << prefix + QString::fromUtf8(fields[i].data(), qsizetype(fields[i].size()));
        store.setText(zorvik::FieldId(i), check.before.at(names.back()).toStdString());
    }
    const zorvik::FieldStore given = store;
    // Calculate leaves the field that has the focus first, as if the user had left it.
    if (auto *focus = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        focus && focus->window() == window->window() && focus->objectName().startsWith(prefix)) {
        const QString name = focus->objectName().mid(prefix.size());
        for (const zorvik::design::LeaveStep &step : window->design().leaveSteps) {
            if (std::find(step.fields.begin(), step.fields.end(), name.toStdString()) ==
                step.fields.end())
                continue;
            zorvik::design::PageState state{store, std::vector<bool>(fields.size(), true)};
            step.run(state);
            store = state.texts;
        }
    }
    zorvik::solve(operation.relations, store);
    check.expected = check.before;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto id = zorvik::FieldId(i);
        if (store.text(id) != given.text(id))
            check.expected[names[qsizetype(i)]] = QString::fromStdString(store.text(id));
    }
    return check;
}

QString TestEventStream::verify(const CalculateCheck &check) const
{
    if (!check.window)
        return QStringLiteral("the window went away during Calculate");
    QString problems;
    bool typedTextChanged = false;
    for (const auto &[name, expected] : check.expected) {
        const QString actual = check.window->field(name)->text();
        if (actual == expected)
            continue;
        const QString &before = check.before.at(name);
        typedTextChanged = typedTextChanged || (!before.isEmpty() && expected == before);
        problems += QStringLiteral("\n  %1 was \"%2\", expected \"%3\", holds \"%4\"")
                        .arg(name, printable(before), printable(expected), printable(actual));
    }
    if (problems.isEmpty())
        return {};
    QString texts;
    for (const auto &[name, before] : check.before) {
        if (!before.isEmpty())
            texts += QStringLiteral(" %1=\"%2\"").arg(name, printable(before));
    }
    return QStringLiteral("%1 after Calculate on page %2 of %3:%4\nthe window held:%5")
        .arg(typedTextChanged ? QStringLiteral("a typed text changed")
                              : QStringLiteral("fields differ from the solve"))
        .arg(check.page)
        .arg(check.window->objectName(), problems, texts);
}

QString TestEventStream::checkInvariants() const
{
    QStringList seen;
    for (QMdiSubWindow *sub : m_driver->main()->workArea()->subWindowList()) {
        const QWidget *content = zorvik::calculator::ScrollFrame::contentOf(sub);
        if (sub->isHidden() || !content)
            continue;
        const QString name = content->objectName();
        if (seen.contains(name))
            return QStringLiteral("two %1 windows are open").arg(name);
        seen << name;
    }
    return {};
}

// Which Calculate, if any, the key will run: Enter in a calculator window runs the shown page's.
std::optional<PendingCalculate> TestEventStream::calculateBy(QWidget *target, Qt::Key key) const
{
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return std::nullopt;
    for (QWidget *widget = target; widget; widget = widget->parentWidget()) {
        if (auto *window = qobject_cast<CalculatorWindow *>(widget)) {
            return PendingCalculate{target, QEvent::KeyPress, window, window->shownPage()};
        }
    }
    return std::nullopt;
}

std::optional<PendingCalculate>
TestEventStream::calculateByLabel(zorvik::calculator::ButtonLabel *label) const
{
    CalculatorWindow *window = nullptr;
    for (QWidget *widget = label->parentWidget(); widget; widget = widget->parentWidget()) {
        window = qobject_cast<CalculatorWindow *>(widget);
        if (window)
            break;
    }
    if (!window)
        return std::nullopt;
    for (const auto &button : window->design().buttons) {
        if (button.action != Action::Calculate)
            continue;
        for (int page = 0; page < window->pageCount(); ++page) {
            const auto &pageDesign = window->design().pages[std::size_t(page)];
            if (label->objectName() == QString::fromStdString(zorvik::design::nameOnPage(
                                           pageDesign, button.name, button.finishing)))
                return PendingCalculate{label, QEvent::MouseButtonRelease, window, page};
        }
    }
    return std::nullopt;
}

void TestEventStream::openThroughDialog()
{
    const auto &windows = zorvik::operationDefinitions();
    const OperationDefinition &entry = windows[pick(std::uint32_t(windows.size()))];
    note(QStringLiteral("New Project, %1, Ok").arg(entry.option.name));
    if (pick(2))
        m_driver->main()->findChild<QAction *>("mnunew")->trigger();
    else
        QTest::keyClick(keyTarget(), Qt::Key_N, Qt::ControlModifier);
    zorvik::NewProjectDialog *dialog = m_driver->dialog();
    if (!dialog)
        return;
    auto *option = dialog->findChild<QRadioButton *>(entry.option.name);
    QTest::mouseClick(option, Qt::LeftButton);
    if (pick(2))
        QTest::mouseClick(labelOf(dialog, "command1"), Qt::LeftButton);
    else
        QTest::keyClick(option, Qt::Key_Return);
    ++m_opened;
}

void TestEventStream::actOnDialog()
{
    zorvik::NewProjectDialog *dialog = m_driver->dialog();
    if (!dialog)
        return;
    switch (pick(4)) {
    case 0:
        note("dialog: Cancel");
        QTest::mouseClick(labelOf(dialog, "command2"), Qt::LeftButton);
        break;
    case 1:
        note("dialog: Esc");
        QTest::keyClick(dialog, Qt::Key_Escape);
        break;
    case 2: {
        const QList<QRadioButton *> options = dialog->findChildren<QRadioButton *>();
        QRadioButton *option = options[qsizetype(pick(std::uint32_t(options.size())))];
        note(QStringLiteral("dialog: click %1").arg(option->objectName()));
        QTest::mouseClick(option, Qt::LeftButton);
        break;
    }
    default:
        note("dialog: Ok");
        QTest::mouseClick(labelOf(dialog, "command1"), Qt::LeftButton);
        break;
    }
}

void TestEventStream::clickLabel()
{
    CalculatorWindow *window = activeCalculator();
    if (!window)
        return;
    std::vector<zorvik::calculator::ButtonLabel *> shown;
    for (zorvik::calculator::ButtonLabel *label :
         window->findChildren<zorvik::calculator::ButtonLabel *>()) {
        if (label->isVisibleTo(window))
            shown.push_back(label);
    }
    if (shown.empty())
        return;
    // Calculate is what users press most; the closing labels come up less often.
    zorvik::calculator::ButtonLabel *label = pickFrom(shown);
    for (int again = 0; again < 3 && label->text() != QLatin1String("Calculate"); ++again)
        label = pickFrom(shown);
    note(QStringLiteral("click %1 \"%2\" in %3")
             .arg(label->objectName(), label->text(), window->objectName()));
    m_pending = calculateByLabel(label);
    QTest::mouseClick(label, Qt::LeftButton);
}

QLineEdit *TestEventStream::clickField()
{
    CalculatorWindow *window = activeCalculator();
    if (!window)
        return nullptr;
    std::vector<QLineEdit *> shown;
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        if (field->isVisibleTo(window))
            shown.push_back(field);
    }
    if (shown.empty())
        return nullptr;
    QLineEdit *field = pickFrom(shown);
    note(QStringLiteral("click field %1").arg(field->objectName()));
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier,
                      QPoint(int(pick(std::uint32_t(field->width()))), field->height() / 2));
    return field;
}

// What users do most: click a field, select what it holds and type a number over it.
void TestEventStream::typeNumber()
{
    QLineEdit *field = clickField();
    if (!field)
        return;
    QString number = QString::number(1 + pick(pick(2) ? 100 : 5000));
    if (pick(2))
        number += QStringLiteral(".") + QString::number(pick(100));
    note(QStringLiteral("select all and type %1").arg(number));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, number);
}

void TestEventStream::typeKey()
{
    const Key &key = pickFrom(keys());
    QWidget *target = keyTarget();
    note(QStringLiteral("key %1 into %2").arg(key.name, target->objectName()));
    m_pending = calculateBy(target, key.key);
    QTest::keyClick(target, key.key, key.modifiers);
}

void TestEventStream::paste()
{
    QString text;
    if (pick(3)) {
        text = m_odd[qsizetype(pick(std::uint32_t(m_odd.size())))];
    } else {
        text = QString::number(pick(100000)) + QStringLiteral(".") + QString::number(pick(100));
    }
    QApplication::clipboard()->setText(text);
    QWidget *target = keyTarget();
    note(QStringLiteral("paste \"%1\" (%2 characters) into %3")
             .arg(printable(text))
             .arg(text.size())
             .arg(target->objectName()));
    if (pick(2))
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    else
        m_driver->main()->findChild<QAction *>("mnupaste")->trigger();
}

void TestEventStream::switchPage()
{
    CalculatorWindow *window = activeCalculator();
    if (!window || window->pageCount() < 2)
        return;
    auto *tabs = window->findChild<zorvik::calculator::TabControl *>();
    const int page = int(pick(std::uint32_t(window->pageCount())));
    note(QStringLiteral("tab %1 of %2").arg(page).arg(window->objectName()));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier,
                      tabs->tabBar()->tabRect(page).center());
}

void TestEventStream::windowCommand()
{
    QMdiArea *area = m_driver->main()->workArea();
    auto *menu = m_driver->main()->findChild<QMenu *>("mnuwindow");
    switch (pick(3)) {
    case 0: {
        const char *name = windowCommands[pick(std::size(windowCommands))];
        note(QStringLiteral("Window > %1").arg(name));
        m_driver->main()->findChild<QAction *>(name)->trigger();
        break;
    }
    case 1: {
        emit menu->aboutToShow();
        std::vector<QAction *> listed;
        for (QAction *action : menu->actions()) {
            if (action->isCheckable())
                listed.push_back(action);
        }
        if (listed.empty())
            return;
        QAction *action = pickFrom(listed);
        note(QStringLiteral("Window > %1").arg(action->text()));
        action->trigger();
        break;
    }
    default:
        if (QMdiSubWindow *active = area->activeSubWindow()) {
            note(QStringLiteral("minimise %1").arg(active->windowTitle()));
            active->showMinimized();
        }
        break;
    }
}

void TestEventStream::closeSubWindow()
{
    if (QMdiSubWindow *active = m_driver->main()->workArea()->activeSubWindow()) {
        note(QStringLiteral("close box of %1").arg(active->windowTitle()));
        active->close();
    }
}

void TestEventStream::step()
{
    m_pending.reset();
    m_check.reset();
    const bool inDialog = !activeCalculator() && m_driver->dialog();
    const std::uint32_t roll = pick(100);
    if (roll < 2 || (!activeCalculator() && !inDialog && roll < 30))
        openThroughDialog();
    else if (inDialog && roll < 40)
        actOnDialog();
    else if (roll < 46)
        typeKey();
    else if (roll < 50)
        clickField();
    else if (roll < 66)
        typeNumber();
    else if (roll < 73)
        paste();
    else if (roll < 88)
        clickLabel();
    else if (roll < 93)
        switchPage();
    else if (roll < 98)
        windowCommand();
    else if (roll < 99)
        closeSubWindow();
    else
        typeKey();

    if (m_check) {
        ++m_checked;
        m_filling += m_check->expected != m_check->before ? 1 : 0;
        const QString problem = verify(*m_check);
        if (!problem.isEmpty())
            QFAIL(qPrintable(failure(problem)));
    }
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString broken = checkInvariants();
    if (!broken.isEmpty())
        QFAIL(qPrintable(failure(broken)));
}

// The texts are taken as the event that runs Calculate arrives, before the window sees it: a
// field that lost the focus on the way has had its leave step by then.
bool TestEventStream::eventFilter(QObject *watched, QEvent *event)
{
    if (m_pending && watched == m_pending->trigger && event->type() == m_pending->event) {
        if (m_pending->window)
            m_check = prepareCheck(m_pending->window, m_pending->page);
        m_pending.reset();
    }
    return QObject::eventFilter(watched, event);
}

void TestEventStream::randomStream()
{
    m_seed = environmentNumber("ZORVIK_STREAM_SEED", 1);
    const int actions = int(environmentNumber("ZORVIK_STREAM_ACTIONS", 2000));
    m_random.seed(m_seed);
    QApplication::setQuitOnLastWindowClosed(false);
    m_driver = std::make_unique<WindowDriver>();
    m_driver->main()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_driver->main()));
    qApp->installEventFilter(this);

    for (m_index = 0; m_index < actions; ++m_index) {
        if (m_lastActions.size() >= 40)
            m_lastActions.pop_front();
        step();
        if (QTest::currentTestFailed())
            return;
    }
    std::printf("event stream: seed %u, %d actions, %d Calculates checked (%d filled fields), "
                "%d windows opened\n",
                m_seed, actions, m_checked, m_filling, m_opened);
    std::fflush(stdout);
    QVERIFY2(m_filling > actions / 200, "too few Calculates filled anything to say much");
}

QTEST_MAIN(TestEventStream)
#include "test_eventstream.moc"
